module m
  integer, parameter :: x = 1
  interface g
    module procedure x
  end interface
end module m
