program all_good
  use shapes
  implicit none
  type(point) :: a, b
  real :: r
  integer :: i, k
  a = point(1.0, 2.0)
  b = origin
  r = dist(a, b)
  call scale(a, 2.0)
  k = twice(3)
  r = r + twice(1.5)
  do i = 1, npts
    r = r + a%x
  end do
  print *, r, k, counter, b%y
end program all_good
