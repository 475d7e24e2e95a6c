! MAXLOC and MINLOC with and without DIM, as HPF has them.
program locations
  implicit none
  integer :: a(5), b(3,4), k, loc2(2), r(4), c(3)
  a = (/ 3, 1, 4, 1, 5 /)
  b = reshape((/ (k, k = 1, 12) /), (/ 3, 4 /))
  k = maxloc(a, dim=1)
  k = minloc(a, 1, a > 1)
  k = maxloc(a, 1)
  loc2 = minloc(b)
  loc2 = maxloc(b, mask=b > 2)
  r = maxloc(b, dim=1)
  r = minloc(b, 1, b > 0)
  c = maxloc(b, 2)
  c = minloc(array=b, dim=2, mask=b /= 4)
  print *, k, loc2, r, c
end program locations
