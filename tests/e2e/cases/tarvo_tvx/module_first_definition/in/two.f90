module m
integer :: b
end module m
