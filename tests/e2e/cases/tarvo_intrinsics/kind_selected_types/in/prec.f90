module prec
  implicit none
  integer, parameter :: dp = 8
contains
  function clip(x, lo, hi) result(y)
    real(kind=dp), intent(in) :: x, lo, hi
    real(kind=dp) :: y
    y = min(max(x, lo), hi)
  end function clip
end module prec

program main
  use prec
  implicit none
  real(kind=dp) :: a
  real(dp) :: b
  double precision :: c
  real*8 :: d
  a = 2.5_dp
  b = max(a, 1.0_dp)
  c = max(b, 1.0d0)
  d = min(c, a, b)
  print *, clip(a, 0.0_dp, 1.0_dp), b, c, d
end program main
