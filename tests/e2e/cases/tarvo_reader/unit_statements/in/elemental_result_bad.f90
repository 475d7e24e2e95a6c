elemental function e(x)
  real, intent(in) :: x
  real, pointer :: e
end function e
