subroutine only_rename_good(q)
  use shapes, only: point, d => dist, n => npts
  implicit none
  type(point), intent(in) :: q
  real :: r
  r = d(q, q) * n
  print *, r
end subroutine only_rename_good
