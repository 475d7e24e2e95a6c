program p
  integer kv
  integer :: k = 1_kv
end program p
