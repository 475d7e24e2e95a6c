subroutine report
  use shapes
  print *, sides
end subroutine report
