program p
  real x
  do x = 1.0, 2.0
  end do
end program p
