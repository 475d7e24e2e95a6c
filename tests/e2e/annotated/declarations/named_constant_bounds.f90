! Array bounds that name integer constants are constants: the arrays have
! their size when declared, are not automatic, and take DATA values
! element by element.
program named_constant_bounds
  implicit none
  integer, parameter :: n = 3
  integer, parameter :: lo = -1
  real a(n)
  real, dimension(n) :: c
  integer :: d(lo:n)
  real :: e(n)
  data a / 1.0, 2.0, 3.0 /
  data c / 3 * 0.5 /
  data d / 5 * 7 /
! expect: error: too many values in DATA initialization
  data e / 1.0, 2.0, 3.0, 4.0 /
  print *, a, c, d, e
end program named_constant_bounds
! status: 2
