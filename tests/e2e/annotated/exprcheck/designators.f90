! status: 2
subroutine designators(a, n)
  integer n
  real a(*)
  real x, v(10), m(3, 3)
  character*10 c
  integer idx(3)
  idx(1) = 1
  x = v(2) + m(1, 2) + a(n)
  v(1:3) = a(1:3)
  v(idx) = 0.0
  c(2:3) = 'ab'
  c(4:) = c(:2)
! expect: error: too many subscripts
  x = v(1, 2)
! expect: error: too few subscripts
  x = m(1)
! expect: error: omitted second subscript from triplet in the last dimension
  v(1:3) = a(2:)
! expect: error: expression must be of type integer
  x = v(1.5)
! expect: error: type of the expression must be the same as of previous ones
  v(1:2) = (/ 1.0, 2 /)
end subroutine designators
