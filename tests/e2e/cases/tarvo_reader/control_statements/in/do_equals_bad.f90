program p
  integer i
  do i 1, 2
  end do
end program p
