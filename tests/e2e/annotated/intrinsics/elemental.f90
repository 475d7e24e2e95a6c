! Elemental intrinsic procedures: specific names and their kinds, MAX and
! MIN of one type, KIND= values, restricted expressions.
program elemental
  implicit none
  real :: x, y
  double precision :: d
  integer :: i, k
  integer(kind=1) :: j
  complex :: z
  integer, parameter :: p1 = abs(-3)
! expect: error: must be a restricted expression
  real, parameter :: p2 = abs(-3.0)
  integer, parameter :: p3 = ibset(0, 4)
  integer, parameter :: p4 = max0(1, 2, 3)
  x = 4.0
  d = 4.0d0
  z = (1.0, 1.0)
  k = 4
  y = sqrt(x)
  d = dsqrt(d)
! expect: error: argument must be of type double precision
  y = dsqrt(x)
! expect: error: operands are incompatible
  y = max(1.0, 2.0d0)
! expect: error: kind value does not specify a representation method
  i = int(x, 3)
  i = int(x, 1)
  y = abs(z)
! expect: error: argument must be of type default complex
  y = cabs((1.0d0, 2.0d0))
  j = 1
! expect: error: argument must be of type default integer
  y = float(j)
  z = cmplx(z)
  z = cmplx(x, 2)
! expect: error: at least one argument must be present
  i = selected_real_kind()
! expect: error: argument must be of type default real
  d = dprod(d, d)
  print *, x, y, d, i, k, z, p1, p2, p3, p4
end program elemental
