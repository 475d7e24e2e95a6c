subroutine rename_good
  use shapes, pt => point, howmany => counter
  implicit none
  type(pt) :: p
  p = pt(1.0, 1.0)
  call scale(p, 0.5)
  print *, p%x, howmany
end subroutine rename_good
