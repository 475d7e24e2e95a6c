program p
  x = 1 + &  junk
    2
  y = 3 &
  &
  s = 'abc&
  def'
  s = 3habc + 0h + 5hab
  z = .foo + 1.DE.2 .and. .true._7 .x
  s = 'abc'&
    // 'def'
end program p &
