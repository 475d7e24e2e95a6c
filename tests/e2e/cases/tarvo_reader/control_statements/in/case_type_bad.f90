program p
  integer k
  select case (k)
  case ('a')
  end select
end program p
