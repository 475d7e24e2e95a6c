module m
  interface operator(.mix.)
    real function mix(a, b, c)
      real, intent(in) :: a, b, c
    end function mix
  end interface
end module m
