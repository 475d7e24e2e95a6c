function f(x)
  real x
  real, save :: f
end function f
