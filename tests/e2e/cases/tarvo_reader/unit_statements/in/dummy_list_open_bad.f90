subroutine s(a, b
  real a, b
end subroutine s
