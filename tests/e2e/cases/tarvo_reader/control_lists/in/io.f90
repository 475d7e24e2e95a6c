program io
  integer :: n
  real :: y
  read (5, 100, end=200) n
  write (*, *) n, y
  read (5, 100, advance='no') n
  close 10
  write (6, *, bogus=1) y
  print (6) y
  read (5, *, err=x) y
100 format (i5, <n>x, f10.2)
101 format (i5, <n x)
  write (6, *) (y, n = 1, 2 y
200 continue
end program io
