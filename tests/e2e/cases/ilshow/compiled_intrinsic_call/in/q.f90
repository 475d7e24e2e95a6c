program q
  real :: x
  x = sqrt(2.0)
  x = abs(sqrt(x))
end program q
