module shapes
  implicit none
  private
  public :: point, dist, scale, origin, npts, twice, counter
  type point
    real :: x, y
  end type point
  type(point), parameter :: origin = point(0.0, 0.0)
  integer, parameter :: npts = 10
  integer :: counter = 0
  integer :: hidden = 3
  interface twice
    module procedure twice_i, twice_r
  end interface
contains
  real function dist(a, b)
    type(point), intent(in) :: a, b
    dist = sqrt((a%x - b%x)**2 + (a%y - b%y)**2)
  end function dist
  subroutine scale(p, f)
    type(point), intent(inout) :: p
    real, intent(in) :: f
    p%x = p%x*f
    p%y = p%y*f*hidden
    counter = counter + 1
  end subroutine scale
  integer function twice_i(i)
    integer, intent(in) :: i
    twice_i = 2*i
  end function twice_i
  real function twice_r(x)
    real, intent(in) :: x
    twice_r = 2.0*x
  end function twice_r
end module shapes
