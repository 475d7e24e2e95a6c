program p
  real :: a(10), b(10, 2), x
  integer :: n
  character(len=3) :: c
  logical :: l
  x = a
  x = a + 1.0
  a = b
  c = 1
  n = c
  l = n
  n = l
  c = 'abcdef'
  a(1) + 2 = 3
end program p
