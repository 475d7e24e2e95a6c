! A variable used only in the bounds or the length of a declaration is
! referenced; one used nowhere is not.
subroutine t(b, k)
  integer :: k
  common /cb/ m, len
  real :: b(m), w(k)
  character(len=len) :: c
! expect: warning: variable "UNUSED" declared and never referenced
  integer :: unused
  b(1) = 0
  w = 1
  c = 'x'
  print *, w, c
end subroutine t
