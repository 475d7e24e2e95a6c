elemental subroutine s(a, *)
  real, intent(in) :: a
end subroutine s
