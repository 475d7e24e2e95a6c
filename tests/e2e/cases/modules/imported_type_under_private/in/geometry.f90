module geometry
  implicit none
  private
  type, public :: point
    real :: x, y
  end type point
  public :: operator(+), shift
  interface operator(+)
    module procedure add_points
  end interface
  interface shift
    module procedure shift_point
  end interface
contains
  function add_points(a, b) result(c)
    type(point), intent(in) :: a, b
    type(point) :: c
    c = point(a%x + b%x, a%y + b%y)
  end function add_points
  subroutine shift_point(p, d)
    type(point), intent(inout) :: p
    real, intent(in) :: d
    p%x = p%x + d
  end subroutine shift_point
end module geometry
