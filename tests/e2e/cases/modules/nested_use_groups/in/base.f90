module base
contains
subroutine sb
end subroutine sb
end module base
