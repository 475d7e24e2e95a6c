program p
  integer m(3)
  real a(3)
  where (m) a = 1.0
end program p
