program p
  integer, parameter :: kv = 4
  integer :: k = 1_kv, j = 2_4
end program p
