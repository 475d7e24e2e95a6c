module m
  interface operator(.plus.)
    real function plus(a, b)
      real, intent(in) :: a
      real, intent(in), optional :: b
    end function plus
  end interface
end module m
