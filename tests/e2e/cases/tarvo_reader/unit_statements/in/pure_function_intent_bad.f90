pure function f(a)
  real, intent(inout) :: a
  real f
  f = a
end function f
