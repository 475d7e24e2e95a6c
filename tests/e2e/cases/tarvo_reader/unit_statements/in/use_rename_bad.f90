module m
  integer :: a
end module m
program p
  use m, y a
end program p
