pure subroutine s(a)
  real, intent(out) :: a
  a = 1.0
end subroutine s
