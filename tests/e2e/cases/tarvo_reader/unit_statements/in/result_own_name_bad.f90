function f(x) result(f)
  real x
end function f
