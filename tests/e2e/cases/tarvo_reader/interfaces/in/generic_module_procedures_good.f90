module conv
  implicit none
  interface tostr
    module procedure itostr, rtostr
  end interface
  interface swap
    module procedure swapi, swapr
  end interface
contains
  function itostr(i) result(s)
    integer, intent(in) :: i
    character(len=16) :: s
    write (s, '(i16)') i
  end function itostr
  function rtostr(r) result(s)
    real, intent(in) :: r
    character(len=16) :: s
    write (s, '(f16.4)') r
  end function rtostr
  subroutine swapi(a, b)
    integer, intent(inout) :: a, b
    integer t
    t = a
    a = b
    b = t
  end subroutine swapi
  subroutine swapr(a, b)
    real, intent(inout) :: a, b
    real t
    t = a
    a = b
    b = t
  end subroutine swapr
  subroutine show(i, r)
    integer, intent(inout) :: i
    real, intent(inout) :: r
    character(len=16) :: a, b
    a = tostr(i)
    b = tostr(r)
    call swap(i, i)
    call swap(r, r)
    print *, a, b
  end subroutine show
end module conv
