subroutine s(a, b)
  integer, intent(in) :: a
  integer, intent(out) :: b
  b = a
end subroutine s
