! The destinations of DATA objects: implied DOs, sections and substrings,
! and the messages of subscripts and positions that are out of range or not
! restricted expressions.
program data_targets
  implicit none
  integer :: i
  real :: a(3), b(3), d(3), e(3)
  character(len=8) :: s, t
  data (a(i), i = 1, 3) / 3 * 1.0 /
  data b(1:3:2) / 2.0, 3.0 /
  data s(2:4) / 'abc' /
! expect: error: only constants, DO variables and intrinsic operations are allowed
  data d(mod(1, 2)) / 1.0 /
! expect: error: upper position is less than lower position in substring
  data t(3:2) / 'x' /
! expect: error: subscript out of range
  data e(4) / 1.0 /
  s = t
  a = b + d + e
end program data_targets
! status: 2
