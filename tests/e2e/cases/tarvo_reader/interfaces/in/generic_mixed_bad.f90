program p
  interface g
    real function f(x)
      real x
    end function f
    subroutine s(x)
      real x
    end subroutine s
  end interface
end program p
