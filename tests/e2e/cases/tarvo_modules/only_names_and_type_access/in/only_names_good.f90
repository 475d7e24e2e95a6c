module k
  integer, parameter :: dp = kind(1.0d0)
end module k
module plain_first
  use k, only: dp, wp => dp
  implicit none
  real(dp) :: x
  real(wp) :: y
end module plain_first
module renamed_first
  use k, only: wp => dp, dp
  implicit none
  real(dp) :: x
  real(wp) :: y
end module renamed_first
module two_uses
  use k, only: wp => dp
  use k, only: dp
  implicit none
  real(dp) :: x
  real(wp) :: y
end module two_uses
