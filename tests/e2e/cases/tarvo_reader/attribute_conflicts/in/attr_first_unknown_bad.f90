program p
  real, bogus :: x
end program p
