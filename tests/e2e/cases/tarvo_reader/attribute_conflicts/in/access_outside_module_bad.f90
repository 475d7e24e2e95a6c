program p
  real, private :: x
end program p
