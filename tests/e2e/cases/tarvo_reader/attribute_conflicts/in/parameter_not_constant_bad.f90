subroutine s(n)
  integer n
  integer, parameter :: m = n
end subroutine s
