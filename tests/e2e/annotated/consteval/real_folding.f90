! Real and complex constant expressions that check themselves: each divides
! by zero exactly when the folded value is the expected one.
program real_folding
  implicit none
! expect: error: division by zero
! expect: error: must be an initialization expression
  real, parameter :: r1 = 1.0 / (2.0 ** (-2) - 0.25)
! expect: error: division by zero
! expect: error: must be an initialization expression
  real, parameter :: r2 = 1.0 / (3 + 0.5 - 3.5)
! expect: error: division by zero
! expect: error: must be an initialization expression
  real, parameter :: r3 = 1.0 / (huge(0.0) - 3.4028234663852886e38)
! expect: error: division by zero
! expect: error: must be an initialization expression
  real, parameter :: r4 = 1.0 / (epsilon(0.0) - 1.1920928955078125e-07)
! expect: error: division by zero
! expect: error: must be an initialization expression
  double precision, parameter :: r5 = 1.0d0 / (tiny(0.0d0) - 2.2250738585072014d-308)
! expect: error: division by zero
! expect: error: must be an initialization expression
  double precision, parameter :: r6 = 1.0d0 / ((-1.5d0) ** 3 + 3.375d0)
! expect: error: division by zero
! expect: error: must be an initialization expression
  complex, parameter :: z1 = (1.0, 0.0) / ((1.0, 2.0) * (3.0, 4.0) - (-5.0, 10.0))
! expect: error: division by zero
! expect: error: must be an initialization expression
  complex, parameter :: z2 = (1.0, 0.0) / ((0.0, 1.0) ** 2 + (1.0, 0.0))
  ! Values that must not divide by zero.
  real, parameter :: ok1 = 1.0 / (2.0 ** 2 - 3.0)
  complex, parameter :: ok2 = (1.0, 0.0) / ((-5.0, 10.0) / (3.0, 4.0))
end program real_folding
! status: 2
