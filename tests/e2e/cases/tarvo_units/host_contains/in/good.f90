subroutine h(n)
  integer :: n, count
  count = n
  call inner
contains
  subroutine inner
    print *, count
  end subroutine inner
end subroutine h
