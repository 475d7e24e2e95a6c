pure function f(a)
  real, intent(in) :: a
  real f
  f = a
end function f
