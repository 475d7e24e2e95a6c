subroutine s(a)
  real, optional :: a, b
end subroutine s
