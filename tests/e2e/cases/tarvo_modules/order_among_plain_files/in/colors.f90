module colors
  integer :: hue = 3
end module colors
