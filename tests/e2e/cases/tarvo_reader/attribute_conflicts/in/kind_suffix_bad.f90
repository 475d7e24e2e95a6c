program p
  integer :: k = 1_3
end program p
