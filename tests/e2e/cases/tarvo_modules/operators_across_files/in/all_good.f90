program all_good
  use vecs
  implicit none
  type(vec) :: a, b, c
  real :: d
  integer :: k
  a = 1.0
  b = 2.0
  c = a + b
  d = a .dot. c
  k = twice_i(3) + twice(4)
  c = twice(c)
  print *, d, k, c%x
end program all_good
