! The types keep their kinds of storage through the module file: a numeric
! sequence type shares storage with REAL, a character one with CHARACTER,
! and a type with a pointer component may not be equivalenced.
subroutine storage
  use shapes
  type(point) :: p
  real :: r(2)
  type(tag) :: t
  character(len=4) :: s
  type(node) :: n, m
  equivalence (p, r), (t, s)
  equivalence (n, m)
  r = 0.0
  s = 'abcd'
  m%value = 1
  print *, p%x, t%code, n%value
end subroutine storage
