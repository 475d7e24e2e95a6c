program p
  integer, parameter :: lo = 5, hi = 1
  real :: x(lo:hi)
end program p
