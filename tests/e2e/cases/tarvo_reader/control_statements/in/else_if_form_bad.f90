program p
  integer k
  k = 1
  if (k > 0) then
    k = 2
  else if (k > 2) k = 1
  end if
end program p
