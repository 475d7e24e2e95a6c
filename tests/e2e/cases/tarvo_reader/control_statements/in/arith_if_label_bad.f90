program p
  integer k
  if (k) 10, k, 30
10 continue
30 continue
end program p
