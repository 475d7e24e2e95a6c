program p
contains
  real function f(x)
    real x
    f = x
  end
end program p
