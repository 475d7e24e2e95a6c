program main
  real :: x
  x = 1.0
  call s(x)
end program main
subroutine s(a)
  real :: a
  a = 2.0
end subroutine s
