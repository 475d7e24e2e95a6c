function f(x)
  real f
  real x
  f = x
end function f
