module k
  integer, parameter :: dp = kind(1.0d0)
end module k
module v
  use k, wp => dp
  implicit none
  real(wp) :: y
  real(dp) :: x
end module v
