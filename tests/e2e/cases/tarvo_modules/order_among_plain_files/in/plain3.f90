subroutine spare(n)
  integer :: n
  n = n + &
      1
end subroutine spare
