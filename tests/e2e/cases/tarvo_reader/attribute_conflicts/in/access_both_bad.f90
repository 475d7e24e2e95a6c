module m
  real, public, private :: x
end module m
