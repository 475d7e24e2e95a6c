! MAXLOC and MINLOC with and without DIM, and reductions whose second
! argument, given without a keyword, is the DIM or the MASK.
program locations
  implicit none
  integer :: a(5), b(3,4), k, loc2(2), r(4), c(3)
  real :: x(3,4), s, col(4)
  a = (/ 3, 1, 4, 1, 5 /)
  b = reshape((/ (k, k = 1, 12) /), (/ 3, 4 /))
  x = real(b)
  k = maxloc(a, dim=1)
  k = minloc(a, 1, a > 1)
  k = maxloc(a, 1)
  loc2 = minloc(b)
  loc2 = maxloc(b, b > 2)
  loc2 = maxloc(b, mask=b > 2)
  r = maxloc(b, dim=1)
  r = minloc(b, 1, b > 0)
  c = maxloc(b, 2)
  c = minloc(array=b, dim=2, mask=b /= 4)
  s = sum(x, x > 0.0)
  s = maxval(x, x < 10.0)
  col = sum(x, 1)
  col = product(x, 1, x > 1.0)
  print *, k, loc2, r, c, s, col
end program locations
