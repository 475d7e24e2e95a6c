program a
  integer :: i
  use mb
  i = 1
end program a
