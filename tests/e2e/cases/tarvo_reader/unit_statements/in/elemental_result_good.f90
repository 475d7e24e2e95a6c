elemental function e(x)
  real, intent(in) :: x
  real :: e
  e = x
end function e
