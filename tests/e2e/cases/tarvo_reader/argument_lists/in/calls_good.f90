program calls_good
  integer :: a(4), k
  k = 1
  a = 0
  call s(1, 2)
  call s(x=1, y=2)
  call s(1, y=k)
  call s(a, a(1), a(1:2), k+1)
  call s()
  call s
  y = f(x=1, y=a(k))
end program calls_good
