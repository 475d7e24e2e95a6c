module m
contains
subroutine two
end subroutine two
end module m
