module ops3
  implicit none
  type vstr
    character(len=20) :: t
  end type vstr
  interface operator(//)
    module procedure cat_vv
  end interface
contains
  function cat_vv(a, b) result(r)
    type(vstr), intent(in) :: a, b
    type(vstr) :: r
    r%t = trim(a%t) // b%t
  end function cat_vv
  subroutine bad(a, c, i)
    type(vstr), intent(in) :: a
    character(len=*), intent(in) :: c
    integer, intent(in) :: i
    type(vstr) :: r
    character(len=30) :: s
    r = a // i
    s = c // i
    s = c // later(i)
  end subroutine bad
  function later(k) result(w)
    integer, intent(in) :: k
    character(len=5) :: w
    w = 'abcde'
    w(1:1) = char(k)
  end function later
end module ops3
