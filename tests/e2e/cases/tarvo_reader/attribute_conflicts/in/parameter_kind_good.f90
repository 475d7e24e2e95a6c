program p
  integer, parameter :: dp = 8, n = 3
  real(kind=dp) :: x(n)
  x = 1.0_dp
  print *, x
end program p
