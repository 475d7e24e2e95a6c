subroutine r(m, v)
  implicit none
  real, intent(out) :: m(3, 4)
  real, intent(in) :: v(12)
  integer :: shp(2)
  real :: c(2, 6)
  shp = (/ 2, 6 /)
  m = reshape(v, shape(m))
  c = reshape(v, shp)
  c = reshape(v, (/ 2, 6 /))
  c = reshape(v, (/ 12 /))
end subroutine r
