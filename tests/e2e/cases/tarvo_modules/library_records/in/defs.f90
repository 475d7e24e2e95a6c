program main
  call s(1.0, 2.0)
  print *, f(3.0)
end program main
subroutine s(a, b)
  real :: a, b
  common /blk/ x, y
  x = a
  y = b
end subroutine s
real function f(z)
  real :: z
  f = 2.0*z
end function f
