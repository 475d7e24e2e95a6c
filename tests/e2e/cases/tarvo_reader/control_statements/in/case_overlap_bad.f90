program p
  integer k
  select case (k)
  case (1, 5:9)
  case (7)
  end select
end program p
