! DATA values: structure constructors, named constants of derived and array
! type, signed values, and DATA after a declaration's initial value.
module data_value_types
  type pair
    integer :: i
    real :: r
  end type pair
end module data_value_types

program data_values
  use data_value_types
  implicit none
  integer, parameter :: n = 3
  real, parameter :: x = 2.5
  type(pair), parameter :: origin = pair(0, 0.0)
  integer, parameter :: row(2) = (/ 1, 2 /)
  type(pair) :: a, b, c(2), d
  integer :: i, j, k(2), m(2), p
  real :: r
  integer :: q(2) = (/ 5, 6 /)
  type(pair) :: e = pair(1, 1.0)
  data a / pair(1, 2.0) /, b / origin /
  data c / pair(3, 4.0), pair(5, 6.0) /
  data i / n /, r / x /, m / 2 * n /
! expect: error: constant type is incompatible with destination
  data j / row /
! expect: error: constant must have arithmetic type
  data k(1) / -n /
! expect: error: constant must have arithmetic type
  data k(2) / +n /
! expect: error: constant must have arithmetic type
  data d / -pair(1, 1.0) /
! expect: error: multiple DATA initialization of storage for "Q"
  data q(2) / 7 /
! expect: error: multiple DATA initialization of storage for "E"
  data e / pair(2, 2.0) /
  p = a%i + b%i + c(1)%i + d%i + e%i + i + j + k(1) + m(1) + q(1)
  print *, p, r
end program data_values
! status: 2
