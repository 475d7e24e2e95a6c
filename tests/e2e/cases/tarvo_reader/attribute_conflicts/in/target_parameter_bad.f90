program p
  real, target, parameter :: x = 1.0
end program p
