subroutine s
  integer, parameter :: n = len_trim('ab ')
  real :: a(n), b
  equivalence (a, b)
  b = 0.0
  a(1) = 1.0
end subroutine s
