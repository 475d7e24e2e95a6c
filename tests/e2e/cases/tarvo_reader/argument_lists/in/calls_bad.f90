program calls_bad
  call s(1 2)
  call s(x=1, 2)
  call s(1, *10)
  call s(1, *20, *10)
  call t(*x)
10 continue
20 continue
end program calls_bad
