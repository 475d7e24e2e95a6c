program p
  interface assignment(=)
    function f(a, b)
      logical f
      logical, intent(out) :: a
      real, intent(in) :: b
    end function f
  end interface
end program p
