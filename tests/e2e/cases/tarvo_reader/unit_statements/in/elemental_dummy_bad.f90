elemental subroutine s(a)
  real, intent(inout) :: a(3)
end subroutine s
