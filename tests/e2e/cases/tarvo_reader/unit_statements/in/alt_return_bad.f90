subroutine s(a, *)
  real a
end subroutine s
