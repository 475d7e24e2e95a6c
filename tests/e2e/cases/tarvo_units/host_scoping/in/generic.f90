subroutine s
  implicit none
  real :: x
  external abs, myf
  x = abs(1.0) + myf(2.0)
  print *, x
end subroutine s
