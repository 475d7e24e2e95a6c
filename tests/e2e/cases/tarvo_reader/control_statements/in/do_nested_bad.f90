program p
  integer i
  do i = 1, 2
    do i = 1, 3
    end do
  end do
end program p
