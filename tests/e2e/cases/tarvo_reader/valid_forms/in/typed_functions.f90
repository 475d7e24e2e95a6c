module m
  type t
    integer :: i
  end type t
contains
  type(t) function f1(x)
    real x
    f1%i = int(x)
  end function f1
  integer recursive function f7(n) result(r)
    integer n
    r = n
  end function f7
  subroutine s(a)
    real a
    call inner
  contains
    subroutine inner
      a = 0.0
    end subroutine inner
  end subroutine s
end module m
