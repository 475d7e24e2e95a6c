program p
  integer k
  select case (k)
  case (:0)
  case (:5)
  end select
end program p
