program p
  integer i
  do 20 i = 1, 2
30 end do
20 continue
end program p
