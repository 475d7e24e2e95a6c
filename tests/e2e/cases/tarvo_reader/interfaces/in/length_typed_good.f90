program p
  interface
    character*4 function f(x)
      real x
    end function f
  end interface
  print *, f(1.0)
end program p
