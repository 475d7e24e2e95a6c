subroutine dot_real_good(a, b)
  use vecs
  implicit none
  type(vec), intent(in) :: a, b
  real :: s
  s = a .dot. b
  print *, s
end subroutine dot_real_good
