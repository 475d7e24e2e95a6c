! A small program for the demo: a main program that calls a subroutine
! and an intrinsic function.
program hello
  implicit none
  integer :: n
  real :: x
  n = 3
  x = sqrt(real(n))
  call greet(n, x)
  stop
end program hello

subroutine greet(count, value)
  implicit none
  integer, intent(in) :: count
  real, intent(in) :: value
  print *, 'count', count, 'root', value
end subroutine greet
