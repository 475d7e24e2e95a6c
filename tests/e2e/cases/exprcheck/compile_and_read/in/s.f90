subroutine driver(x, k)
  integer :: i, k
  real :: x
  i = 2
  k = i * 3 + 1
  x = sqrt(real(k))
  call show(x, k)
  stop
end subroutine driver

subroutine show(y, n)
  real :: y
  integer :: n
  n = n + int(y)
end subroutine show
