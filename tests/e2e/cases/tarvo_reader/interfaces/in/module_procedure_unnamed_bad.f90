module m
  interface
    module procedure f
  end interface
contains
  real function f(x)
    real, intent(in) :: x
    f = x
  end function f
end module m
