subroutine h(n)
  integer :: n, refonly, setonly
  setonly = n
  call inner
  print *, refonly
contains
  subroutine inner
    n = 2
  end subroutine inner
end subroutine h
program p
  integer :: refonly, setonly
  setonly = 1
  print *, refonly
  call inner
contains
  subroutine inner
  end subroutine inner
end program p
