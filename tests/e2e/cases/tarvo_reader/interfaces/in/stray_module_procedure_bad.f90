module m
  module procedure f
contains
  real function f(x)
    real, intent(in) :: x
    f = x
  end function f
end module m
