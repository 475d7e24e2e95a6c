module m
integer :: a
end module m
