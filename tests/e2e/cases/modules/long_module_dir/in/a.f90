module m
integer :: k
contains
subroutine s
end subroutine s
end module m
