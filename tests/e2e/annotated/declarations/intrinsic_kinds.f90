! A KIND argument of an intrinsic function must be constant: a variable
! is reported, not turned silently into an error.
subroutine s(x)
  real :: x
  integer :: k, j
  integer, parameter :: kk = 2
  k = 2
! expect: error: must be an initialization expression
  j = int(x, kind=k)
! expect: error: must be an initialization expression
! expect: error: must be an initialization expression
  print *, real(j, k), nint(x, k)
! expect: error: must be an initialization expression
! expect: error: must be an initialization expression
! expect: error: must be an initialization expression
! expect: error: must be an initialization expression
! expect: error: must be an initialization expression
  print *, char(65, k), logical(.true., k), cmplx(x, x, k), aint(x, k), anint(x, k)
  print *, int(x, kind=kk), real(j, kk), nint(x, kk), char(65, 1)
end subroutine s
! status: 2
