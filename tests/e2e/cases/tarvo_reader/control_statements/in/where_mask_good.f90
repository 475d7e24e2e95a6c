program p
  real a(3)
  where (a > 0.0)
    a = 1.0
  end where
end program p
