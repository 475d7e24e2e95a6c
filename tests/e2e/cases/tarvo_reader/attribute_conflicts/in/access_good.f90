module m
  real, private :: x
  real, public :: y
end module m
