program p
  integer :: k(2) = (/ 1, 2 /)
  real :: x = 1.0
  print *, k, x
end program p
