function f(x) result r
  real x, r
end function f
