module m
  interface g
    module procedure 1
  end interface
end module m
