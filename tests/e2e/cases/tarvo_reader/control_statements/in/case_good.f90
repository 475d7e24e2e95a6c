program p
  integer k
  logical l
  character c
  select case (k)
  case (:0)
  case (1, 2:4)
  case (5:)
  case default
  end select
  select case (l)
  case (.true.)
  case (.false.)
  end select
  select case (c)
  case ('a':'f')
  case ('g', 'x')
  end select
end program p
