module vecs
  implicit none
  private
  public :: vec, operator(.dot.), operator(+), assignment(=), twice, twice_i
  type vec
    real :: x, y
  end type vec
  interface operator(.dot.)
    module procedure dot
  end interface
  interface operator(+)
    module procedure add
  end interface
  interface assignment(=)
    module procedure from_real
  end interface
  interface twice
    module procedure twice_i, twice_v
  end interface
contains
  real function dot(a, b)
    type(vec), intent(in) :: a, b
    dot = a%x*b%x + a%y*b%y
  end function dot
  function add(a, b)
    type(vec) :: add
    type(vec), intent(in) :: a, b
    add%x = a%x + b%x
    add%y = a%y + b%y
  end function add
  subroutine from_real(v, r)
    type(vec), intent(out) :: v
    real, intent(in) :: r
    v%x = r
    v%y = r
  end subroutine from_real
  integer function twice_i(i)
    integer, intent(in) :: i
    twice_i = 2*i
  end function twice_i
  function twice_v(v)
    type(vec) :: twice_v
    type(vec), intent(in) :: v
    twice_v = v + v
  end function twice_v
end module vecs
