subroutine s
  integer, parameter :: n = len_trim('ab ')
  real :: a(n), b
  equivalence (a, b)
  b = 1.0
  print *, a(1)
end subroutine s
