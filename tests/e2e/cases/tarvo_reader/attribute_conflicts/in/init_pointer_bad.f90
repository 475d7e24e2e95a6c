program p
  real, pointer :: x = 1.0
end program p
