subroutine s(a)
  real a
  save s
end subroutine s
