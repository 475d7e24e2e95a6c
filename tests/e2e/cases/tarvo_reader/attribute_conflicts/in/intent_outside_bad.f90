program p
  real, intent(in) :: x
end program p
