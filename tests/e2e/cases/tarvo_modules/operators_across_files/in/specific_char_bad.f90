subroutine specific_char_bad
  use vecs, only: twice_i
  implicit none
  character(len=8) :: s
  s = twice_i(3)
  print *, s
end subroutine specific_char_bad
