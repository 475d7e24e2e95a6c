! The element count of an array constructor: a zero step is reported once
! at the step, a span beyond the 32-bit range is a too large array (not an
! overflow nor a long fold), and an overflow inside a constant expression
! is reported once, not once per enclosing operation.
program constructor_counts
  implicit none
  integer :: i
  integer, parameter :: three = size((/ (i, i = 1, 3) /))
  integer, parameter :: t1 = 1 / (three - 2)
  integer, parameter :: two = size((/ (i, i = -2147483647 - 1, 2147483647, 2147483647) /))
  integer, parameter :: t2 = 1 / (two - 2)
! expect: error: integer operation result is out of range
! expect: error: must be an initialization expression
  integer, parameter :: k = ((2147483647 + 1) + 1) + 1
! expect: error: increment of DO is not allowed to be zero
  print *, (/ (i, i = 1, 3, 0) /)
! expect: error: array is too large
  print *, size((/ (i, i = -2147483647 - 1, 2147483647) /))
  print *, (/ (i, i = 1, 10, 3) /), t1, t2
end program constructor_counts
! status: 2
