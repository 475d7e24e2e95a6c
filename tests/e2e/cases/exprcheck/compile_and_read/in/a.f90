subroutine adj(a, n, c, v)
  integer n
  real a(n), v(*)
  character*(*) c
  integer k
  a(1) = 2.0
  a(2:n) = a(1:n-1) + 1.0
  v(3) = a(1)
  k = len(c)
  c(1:2) = 'ab'
  call other(a, c, v)
end subroutine adj
