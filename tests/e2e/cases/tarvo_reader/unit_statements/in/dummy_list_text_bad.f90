subroutine s(a, b) c
  real a, b
end subroutine s
