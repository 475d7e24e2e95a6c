program p
  use 1
end program p
