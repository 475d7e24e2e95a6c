module m
contains
  subroutine s
  end subroutine s
  real function f(x)
    real x
    f = x
  end function f
end module m
