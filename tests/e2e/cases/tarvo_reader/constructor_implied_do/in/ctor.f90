subroutine fill(b, a, n)
  implicit none
  integer, intent(in) :: n
  real, intent(out) :: b(n)
  real, intent(in) :: a(n, n)
  integer :: k, i, j
  real :: scale
  real :: m(4)
  scale = 2.0
  b = (/ (scale*a(k, k), k = 1, n) /)
  m = (/ ((real(i*j), i = 1, 2), j = 1, 2) /)
  print *, m
end subroutine fill
subroutine unset(b)
  implicit none
  integer :: b(3)
  integer :: k, spare
  b = (/ (2*k, k = 1, 3) /)
end subroutine unset
subroutine untyped(b)
  implicit none
  integer :: b(3)
  b = (/ (2*k, k = 1, 3) /)
end subroutine untyped
