module linalg
  implicit none
  private
  public :: vec, operator(+), operator(.dot.), norm, assignment(=), scale, vnew
  integer, parameter :: wp = 8
  type vec
    integer :: n = 0
    real(kind=wp), pointer :: x(:) => null()
  end type vec
  interface operator(+)
    module procedure vadd
  end interface
  interface operator(.dot.)
    module procedure vdot
  end interface
  interface assignment(=)
    module procedure vfromr
  end interface
  interface scale
    module procedure scale_r, scale_i
  end interface
contains
  function vnew(n) result(v)
    integer, intent(in) :: n
    type(vec) :: v
    v%n = n
    allocate(v%x(n))
    v%x = 0.0_wp
  end function vnew
  function vadd(a, b) result(c)
    type(vec), intent(in) :: a, b
    type(vec) :: c
    integer :: i
    c = vnew(a%n)
    do i = 1, a%n
      c%x(i) = a%x(i) + b%x(i)
    end do
  end function vadd
  real(kind=wp) function vdot(a, b)
    type(vec), intent(in) :: a, b
    vdot = sum(a%x * b%x)
  end function vdot
  subroutine vfromr(v, r)
    type(vec), intent(inout) :: v
    real(kind=wp), intent(in) :: r
    if (associated(v%x)) v%x = r
  end subroutine vfromr
  real(kind=wp) function norm(v)
    type(vec), intent(in) :: v
    norm = sqrt(v .dot. v)
  end function norm
  subroutine scale_r(v, s)
    type(vec), intent(inout) :: v
    real(kind=wp), intent(in) :: s
    v%x = v%x * s
  end subroutine scale_r
  subroutine scale_i(v, k)
    type(vec), intent(inout) :: v
    integer, intent(in) :: k
    v%x = v%x * real(k, wp)
  end subroutine scale_i
end module linalg

program demo
  use linalg
  implicit none
  type(vec) :: a, b, c
  real(kind=8) :: d
  integer :: i
  a = vnew(3)
  b = vnew(3)
  a = 1.5_8
  b = 2.0_8
  c = a + b
  call scale(c, 2)
  call scale(c, 0.5_8)
  d = a .dot. b
  print *, d, norm(c), (c%x(i), i = 1, c%n)
  call show(c)
contains
  subroutine show(v)
    type(vec), intent(in) :: v
    write (*, '(3F8.3)') v%x
  end subroutine show
end program demo
