module n
contains
subroutine s
end subroutine s
end module n
