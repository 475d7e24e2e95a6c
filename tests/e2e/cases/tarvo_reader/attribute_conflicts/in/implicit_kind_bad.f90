program p
  implicit integer(kind=3) (a-c)
end program p
