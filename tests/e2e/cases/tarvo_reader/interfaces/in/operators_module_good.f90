module vecs
  implicit none
  type vec
    real :: x, y
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
  interface norm
    module procedure norm_v, norm_r
  end interface
contains
  function vadd(a, b) result(c)
    type(vec), intent(in) :: a, b
    type(vec) :: c
    c%x = a%x + b%x
    c%y = a%y + b%y
  end function vadd
  real function vdot(a, b)
    type(vec), intent(in) :: a, b
    vdot = a%x * b%x + a%y * b%y
  end function vdot
  subroutine vfromr(v, r)
    type(vec), intent(out) :: v
    real, intent(in) :: r
    v%x = r
    v%y = r
  end subroutine vfromr
  real function norm_v(v)
    type(vec), intent(in) :: v
    norm_v = sqrt(v .dot. v)
  end function norm_v
  real function norm_r(r)
    real, intent(in) :: r
    norm_r = abs(r)
  end function norm_r
  subroutine demo(a, b, s)
    type(vec), intent(in) :: a, b
    real, intent(out) :: s
    type(vec) :: c
    c = a + b
    c = 2.0
    s = (a .dot. b) + norm(c) + norm(2.0)
    if ((a .dot. b) > 0.0) s = -s
  end subroutine demo
end module vecs
program main
  use vecs
  type(vec) :: p, q
  real :: d
  p = 1.0
  q = p + p
  d = p .dot. q
  if (d > norm(p)) print *, d
end program main
