program p
  implicit none
  real :: a(10), b(10), x
  double precision :: d
  integer :: n
  character(len=5) :: c
  logical :: l
  x = 1
  d = x
  n = d
  a = b
  a = b + 1.0
  a(1:5) = b(2:6)
  a = 0.0
  x = sum(a)
  n = size(a)
  c = 'abc'
  c(1:2) = 'xy'
  c = trim(c)
  l = x > 1.0
  n = 10 + len(c)
end program p
