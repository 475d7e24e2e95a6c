program p
  interface
    function f*4(x)
      real x
    end function f
  end interface
end program p
