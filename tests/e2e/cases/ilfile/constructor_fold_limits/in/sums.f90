subroutine sums(total, small)
  integer :: total, small, j
  integer, parameter :: big(5000) = (/ (j, j = 1, 5000) /)
  total = sum((/ (j, j = 1, 5000) /)) + big(5000)
  small = sum((/ (j, j = 1, 3) /))
end subroutine sums
