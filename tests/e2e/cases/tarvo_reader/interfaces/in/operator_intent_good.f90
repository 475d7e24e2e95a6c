module m
  interface operator(.plus.)
    real function plus(a, b)
      real, intent(in) :: a
      real, intent(in) :: b
    end function plus
  end interface
end module m
