module k
  integer, parameter :: dp = kind(1.0d0)
end module k
module v
  use k, only: dp, wp => dp
  implicit none
  real(dp) :: x
  real(wp) :: y
end module v
