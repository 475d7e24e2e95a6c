! The messages of constant folding, each at the operation or argument that
! fails, followed by the one for the expression that is then not constant.
program fold_messages
  implicit none
  integer, parameter :: big = 2147483647
  integer, parameter :: a(3) = (/ 10, 20, 30 /)
! expect: error: integer operation result is out of range
! expect: error: must be an initialization expression
  integer, parameter :: e1 = big + 1
! expect: error: integer operation result is out of range
! expect: error: must be an initialization expression
  integer, parameter :: e2 = 65536 * 32768
! expect: error: integer operation result is out of range
! expect: error: must be an initialization expression
  integer, parameter :: e3 = (-big - 1) / (-1)
! expect: error: division by zero
! expect: error: must be an initialization expression
  integer, parameter :: e4 = 7 / 0
! expect: error: zero raised to a nonpositive power is undefined
! expect: error: must be an initialization expression
  integer, parameter :: e5 = 0 ** 0
! expect: error: division by zero
! expect: error: must be an initialization expression
  integer, parameter :: e6 = mod(5, 0)
! expect: error: argument value out of bit size of integer
! expect: error: must be an initialization expression
  integer, parameter :: e7 = ishft(1, 33)
! expect: error: argument must not be negative
! expect: error: must be an initialization expression
  integer, parameter :: e8 = ibits(1, 0, -1)
! expect: error: argument value out of bit size of integer
! expect: error: must be an initialization expression
  integer, parameter :: e9 = ibclr(1_1, 16)
! expect: error: subscript out of range
! expect: error: must be an initialization expression
  integer, parameter :: e10 = a(4)
! expect: error: subscript out of range
  character(len=*), parameter :: e11 = 'abc'(2:4)
! expect: error: stride value must not be zero
  integer, parameter :: e12(3) = a(1:3:0)
! expect: error: zero raised to a nonpositive power is undefined
! expect: error: must be an initialization expression
  real, parameter :: e14 = 0.0 ** 0
! expect: error: division by zero
! expect: error: must be an initialization expression
  complex, parameter :: e15 = (1.0, 0.0) / (0.0, 0.0)
! expect: error: argument must not be negative
! expect: error: must be an initialization expression
  character(len=*), parameter :: e16 = repeat('ab', -1)
end program fold_messages
! status: 2
