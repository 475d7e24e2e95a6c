program s
  call sub(1)
end program s
subroutine sub(n)
  integer :: n
  if (n > 0) return
end subroutine sub
