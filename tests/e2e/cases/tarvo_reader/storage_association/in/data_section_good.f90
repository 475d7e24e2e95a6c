program p
  real :: a(4), m(2, 2)
  data a(1:2) /1.0, 2.0/, a(3:4) /2*3.0/
  data m(1, 1:2) /2*0.0/, m(2, :) /2*1.0/
  print *, a, m
end program p
