function f(x) result(r)
  real x, r
  r = x
end function f
