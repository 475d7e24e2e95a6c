program p
  real, external, target :: f
end program p
