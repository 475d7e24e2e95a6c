subroutine s3(out)
  implicit none
  integer, intent(out) :: out
  integer :: k = 3
  integer, save :: m = 4
  integer, dimension(3) :: iv = (/ 5, 3, 9 /)
  real :: x(2) = 0.0
  integer :: n
  integer :: never
  data n /5/
  out = k + m + n + sum(iv) + int(x(1)) + never
end subroutine s3
