subroutine s(a)
  real, parameter :: a = 1.0
end subroutine s
