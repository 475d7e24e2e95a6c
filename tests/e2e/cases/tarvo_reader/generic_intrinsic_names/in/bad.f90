program p
  real :: y
  y = sin(3)
  print *, y
end program p
