subroutine s(a)
  real, intent(in), pointer :: a
end subroutine s
