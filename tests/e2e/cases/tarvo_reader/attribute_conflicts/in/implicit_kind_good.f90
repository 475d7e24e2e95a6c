program p
  implicit integer(kind=4) (a-c), real(8) (d)
end program p
