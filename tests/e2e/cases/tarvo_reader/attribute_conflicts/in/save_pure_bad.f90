pure subroutine s(a)
  real, intent(in) :: a
  real, save :: b
end subroutine s
