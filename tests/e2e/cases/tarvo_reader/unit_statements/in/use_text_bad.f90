module m
  integer :: a
end module m
program p
  use m a
end program p
