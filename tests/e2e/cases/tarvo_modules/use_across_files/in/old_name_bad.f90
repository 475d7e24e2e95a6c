subroutine old_name_bad
  use shapes, only: howmany => counter
  implicit none
  print *, howmany, counter
end subroutine old_name_bad
