program p
  integer i
  do i = 1, 10, 0
  end do
end program p
