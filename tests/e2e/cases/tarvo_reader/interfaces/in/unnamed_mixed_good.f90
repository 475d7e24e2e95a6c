program p
  real y
  interface
    real function f(x)
      real x
    end function f
    subroutine s(x)
      real x
    end subroutine s
  end interface
  y = f(1.0)
  call s(y)
end program p
