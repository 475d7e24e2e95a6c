module rational_mod
  implicit none
  private
  public :: rational, operator(+), operator(-), operator(*), operator(==), assignment(=), &
            operator(.over.), show, operator(//)
  type rational
    integer :: num, den
  end type rational
  interface operator(+)
    module procedure radd, raddi
  end interface
  interface operator(-)
    module procedure rneg, rsub
  end interface
  interface operator(*)
    module procedure rmul
  end interface
  interface operator(==)
    module procedure req
  end interface
  interface operator(.over.)
    module procedure over
  end interface
  interface operator(//)
    module procedure rcat
  end interface
  interface assignment(=)
    module procedure rfromi, ifromr
  end interface
contains
  function radd(a, b) result(c)
    type(rational), intent(in) :: a, b
    type(rational) :: c
    c%num = a%num * b%den + b%num * a%den
    c%den = a%den * b%den
  end function radd
  function raddi(a, i) result(c)
    type(rational), intent(in) :: a
    integer, intent(in) :: i
    type(rational) :: c
    c = a + (i .over. 1)
  end function raddi
  function rneg(a) result(c)
    type(rational), intent(in) :: a
    type(rational) :: c
    c%num = -a%num
    c%den = a%den
  end function rneg
  function rsub(a, b) result(c)
    type(rational), intent(in) :: a, b
    type(rational) :: c
    c = a + (-b)
  end function rsub
  function rmul(a, b) result(c)
    type(rational), intent(in) :: a, b
    type(rational) :: c
    c%num = a%num * b%num
    c%den = a%den * b%den
  end function rmul
  logical function req(a, b)
    type(rational), intent(in) :: a, b
    req = a%num * b%den == b%num * a%den
  end function req
  function over(i, j) result(c)
    integer, intent(in) :: i, j
    type(rational) :: c
    c%num = i
    c%den = j
  end function over
  function rcat(s, r) result(t)
    character(len=*), intent(in) :: s
    type(rational), intent(in) :: r
    character(len=len(s) + 24) :: t
    write (t, '(a, i11, "/", i11)') s, r%num, r%den
  end function rcat
  subroutine rfromi(r, i)
    type(rational), intent(out) :: r
    integer, intent(in) :: i
    r%num = i
    r%den = 1
  end subroutine rfromi
  subroutine ifromr(i, r)
    integer, intent(out) :: i
    type(rational), intent(in) :: r
    i = r%num / r%den
  end subroutine ifromr
  subroutine show(r)
    type(rational), intent(in) :: r
    print *, 'r = ' // r
  end subroutine show
end module rational_mod

program use_rational
  use rational_mod
  implicit none
  type(rational) :: a, b, c
  integer :: k
  a = 3
  b = 1 .over. 2
  c = a + b * b - a
  c = c + 2
  k = c
  if (a == b) print *, 'equal'
  if (.not. (a == b)) call show(c)
  print *, k
end program use_rational
