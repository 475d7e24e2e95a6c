function f*4(x)
  real x
  f = x
end function f
