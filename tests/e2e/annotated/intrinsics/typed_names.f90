! Intrinsic names given a type: the type must agree with the result of the
! specific procedure (or of one of the generic's specifics).
subroutine typed(x, d)
  implicit none
  real :: x
  double precision :: d
  real :: sin
  double precision :: dsin
! expect: error: inconsiten type of the intrinsic procedure
  integer :: dsqrt
  intrinsic sin, dsin, dsqrt
  x = sin(x)
  d = dsin(d)
  print *, x, d
end subroutine typed
