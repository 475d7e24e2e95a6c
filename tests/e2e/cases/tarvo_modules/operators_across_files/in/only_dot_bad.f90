subroutine only_dot_bad(a, b)
  use vecs, only: vec, operator(.dot.)
  implicit none
  type(vec), intent(in) :: a, b
  character(len=8) :: s
  s = a .dot. b
  print *, s
end subroutine only_dot_bad
