subroutine s(a)
  real a
  save a
end subroutine s
