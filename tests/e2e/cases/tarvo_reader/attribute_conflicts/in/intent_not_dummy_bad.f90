subroutine s(a)
  real, intent(in) :: a
  real, intent(out) :: b
end subroutine s
