program p
  integer k
  logical l
  if (k > 1 .and. l) k = 1
  if (l) then
    k = 2
  else if (k == 3) then
    k = 4
  end if
end program p
