module ops
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
  function one(a, b) result(r)
    type(vstr), intent(in) :: a, b
    type(vstr) :: r
    r = a // b
  end function one
  function two(a, c) result(r)
    type(vstr), intent(in) :: a
    character(len=*), intent(in) :: c
    type(vstr) :: r
    r = a // wrap(c)
  contains
    function wrap(x) result(w)
      character(len=*), intent(in) :: x
      type(vstr) :: w
      w%t = x
    end function wrap
  end function two
  function three(a, c) result(r)
    type(vstr), intent(in) :: a
    character(len=*), intent(in) :: c
    type(vstr) :: r
    r = a // wrap3(c)
  end function three
  function wrap3(x) result(w)
    character(len=*), intent(in) :: x
    type(vstr) :: w
    w%t = x
  end function wrap3
end module ops
