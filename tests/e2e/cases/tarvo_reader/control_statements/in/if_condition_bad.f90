program p
  integer k
  if (k + 1) k = 1
end program p
