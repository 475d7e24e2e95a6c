program p
  real y
  end interface
  y = 1.0
end program p
