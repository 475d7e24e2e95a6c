elemental subroutine s(a)
  real, intent(inout) :: a
end subroutine s
