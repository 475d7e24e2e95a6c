module shapes
  use geometry
  implicit none
  private
  type, public :: segment
    type(point) :: ends(2)
    type(point), pointer :: mid
    type(point) :: centre
  end type segment
  type(point), public :: origin
  public :: operator(+), shift, length
contains
  real function length(s)
    type(segment), intent(in) :: s
    type(point) :: d
    d = s%ends(2) + point(-s%ends(1)%x, -s%ends(1)%y)
    length = sqrt(d%x**2 + d%y**2)
  end function length
end module shapes
