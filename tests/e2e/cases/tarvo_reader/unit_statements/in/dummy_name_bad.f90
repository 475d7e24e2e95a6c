subroutine s(a, 1)
  real a
end subroutine s
