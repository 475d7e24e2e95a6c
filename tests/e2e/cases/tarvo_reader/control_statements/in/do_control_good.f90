program p
  integer i, j, n
  n = 3
  do i = 1, n
    do j = i, n, 2
    end do
  end do
  do 20, i = n, 1, -1
20 end do
  do while (n > 0)
    n = n - 1
  end do
end program p
