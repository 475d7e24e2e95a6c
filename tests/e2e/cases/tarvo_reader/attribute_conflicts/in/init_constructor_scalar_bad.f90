program p
  integer :: k = (/ 1, 2 /)
end program p
