program p
  real, save, save :: x
end program p
