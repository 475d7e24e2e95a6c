program p
  interface
    function f(x) result(f)
      real x
    end function f
  end interface
end program p
