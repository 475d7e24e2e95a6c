module m
  interface operator(.zero.)
    real function z()
    end function z
  end interface
end module m
