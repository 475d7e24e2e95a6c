subroutine undeclared_bad
  use shapes
  implicit none
  print *, counter, notdeclared
end subroutine undeclared_bad
