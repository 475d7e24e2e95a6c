subroutine limits(total)
  integer :: total, i, j
  integer, parameter :: nested(20000000) = (/ ((i, i = 1, 5000), j = 1, 4000) /)
  total = size((/ (j, j = 1, 2000000000), (j, j = 1, 2000000000) /))
end subroutine limits
