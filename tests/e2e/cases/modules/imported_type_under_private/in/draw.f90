program draw
  use geometry, only: point, operator(+), shift
  use shapes
  implicit none
  type(segment) :: s
  type(point) :: p
  s%ends(1) = point(0.0, 0.0)
  s%ends(2) = point(3.0, 4.0)
  p = s%ends(1) + s%ends(2) + origin
  call shift(p, 1.0)
  print *, length(s), p%x
end program draw
