program p
  real, save, bogus :: x
end program p
