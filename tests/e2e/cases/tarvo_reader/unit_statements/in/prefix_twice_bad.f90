pure pure function f(x)
  real, intent(in) :: x
  real f
  f = x
end function f
