subroutine s(a, b)
  real, intent(in), optional :: a
  real, intent(inout), target :: b
end subroutine s
