! Reductions and array functions: DIM values, OPTIONAL DIM arguments,
! masks of another shape, SHAPE arguments of RESHAPE, SPREAD's rank limit,
! shift shapes and the default boundary of EOSHIFT.
subroutine reduce(a, v, m, d, k)
  implicit none
  real :: a(3, 4), v(5), s, r(3)
  logical :: m(2, 2), l, mv(4)
  integer, optional :: d
  integer :: k, iv(5), b(1, 1, 1, 1, 1, 1, 1), sh(8)
  real :: q(2, 3)
  s = sum(a)
  r = sum(a, 2)
! expect: error: subscript out of range
  r = sum(a, 3)
  r = sum(a, k)
  s = sum(v, 1)
  s = product(v)
  s = maxval(v)
  iv(1:1) = maxloc(v)
! expect: error: argument must not be an optional dummy argument
  l = all(m, d)
! expect: error: expected an array valued expression
  l = any(l)
! expect: error: operands are incompatible
  s = sum(v, mask=mv)
  q = reshape(v(1:6), (/2, 3/))
  sh = 1
! expect: error: argument size must be less or equal to seven
  q = reshape(v, sh)
! expect: error: maximum rank may be six
  print *, spread(b, 1, 2)
! expect: error: must be a scalar expression
  v = cshift(v, iv)
  v = cshift(v, 1)
  iv = eoshift(iv, 1)
end subroutine reduce
