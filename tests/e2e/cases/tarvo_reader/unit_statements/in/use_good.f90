module m
  integer :: a, b
end module m
program p
  use m, only: a, x => b
  use m, y => a
  use m
end program p
