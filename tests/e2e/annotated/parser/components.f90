! status: 2
program p
type t
  integer i
  real v(2)
  real w(2, 2)
end type t
type(t) :: a
! expect: error: undefined derived type
type(nowhere) :: b
integer k
real r
! expect: error: too many subscripts
a%v(1, 2) = 1.0
! expect: error: too few subscripts
r = a%w(1)
! expect: error: subscript used on non-array
k = a%i(1)
! expect: error: there is no field with the name
k = a%q
! expect: error: object is not of a derived type
k = k%i
! expect: error: object is not of a derived type
k%i = 1
! The type of b was reported at its declaration.
b%x(1)%y = b%z
a%w(1, 2) = a%v(2)
a%w(:, 1) = a%v(1:2)
print *, a%i, k, r
end program p
