! Results of the wrong rank and a DIM of the wrong type.
program wrong_locations
  implicit none
  integer :: a(5), b(3,4), k, r(4)
  real :: x(3,4), s
  a = 1
  b = 2
  x = 0.0
  k = maxloc(a)
  k = minloc(b, dim=1)
  r = maxloc(a, dim=.true.)
  s = sum(x, 1)
  print *, k, r, s
end program wrong_locations
