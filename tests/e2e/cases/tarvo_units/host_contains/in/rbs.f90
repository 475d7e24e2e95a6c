program p
  integer :: n, m
  m = 1
  call s
  print *, m
contains
  subroutine s
    print *, n
    n = m
  end subroutine s
end program p
