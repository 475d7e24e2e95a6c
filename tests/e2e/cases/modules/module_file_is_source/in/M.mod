module m
contains
subroutine s
end subroutine s
end module m
