program p
  real x
  select case (x)
  case default
  end select
end program p
