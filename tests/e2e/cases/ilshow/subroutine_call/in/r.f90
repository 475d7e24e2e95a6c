program r
  call s(1)
end program r
subroutine s(i)
  integer :: i
  return
end subroutine s
