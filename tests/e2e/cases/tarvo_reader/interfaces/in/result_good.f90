program p
  real y
  interface
    function f(x) result(r)
      real x, r
    end function f
  end interface
  y = f(2.0)
end program p
