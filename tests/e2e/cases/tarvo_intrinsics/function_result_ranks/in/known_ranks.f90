! Arguments whose ranks are known: results of the wrong rank and SIZE of
! a scalar are still reported.
program known_ranks
  implicit none
  real :: v(4), a(4, 4), s, x
  real :: half
  half(x) = 0.5 * x
  v = 1.0
  a = 2.0
  s = 3.0
  v = spread(v, 1, 4)
  a = spread(s, 1, 4)
  v = matmul(a, a)
  print *, size(s), size(half(s))
end program known_ranks
