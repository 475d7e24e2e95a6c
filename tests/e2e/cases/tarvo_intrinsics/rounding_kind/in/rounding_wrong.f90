! A KIND that is not an integer, one argument too many, and an array
! result assigned to a scalar.
program rounding_wrong
  implicit none
  real :: x, v(3)
  integer :: k
  x = 2.5
  v = x
  k = ceiling(x, kind=1.5)
  k = ceiling(x, 4, 4)
  k = ceiling(v, 4)
  print *, k
end program rounding_wrong
