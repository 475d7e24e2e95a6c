subroutine dot_char_bad(a, b)
  use vecs
  implicit none
  type(vec), intent(in) :: a, b
  character(len=8) :: s
  s = a .dot. b
  print *, s
end subroutine dot_char_bad
