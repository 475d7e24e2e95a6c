program p
  logical l
  select case (l)
  case (.false.:)
  end select
end program p
