subroutine s(a, b, c, d)
  integer, intent(in) :: a
  integer, intent(out) :: b
  integer, intent(in) :: c
  integer, intent(out) :: d
  a = 1
  print *, b
  d = c
end subroutine s
