module m
contains
subroutine one
end subroutine one
end module m
