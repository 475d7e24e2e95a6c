! CEILING and FLOOR with a KIND argument, by keyword and by position.
program rounding_kinds
  implicit none
  integer, parameter :: short = selected_int_kind(4)
  real :: x, v(3)
  double precision :: d
  integer(short) :: j, k, w(3)
  x = 2.5
  d = -1.5d0
  v = (/ 0.5, 1.5, 2.5 /)
  j = floor(x, kind=short)
  k = ceiling(x, kind=short)
  k = ceiling(d, short)
  w = ceiling(v, short) + floor(v)
  print *, j, k, w, ceiling(x)
end program rounding_kinds
