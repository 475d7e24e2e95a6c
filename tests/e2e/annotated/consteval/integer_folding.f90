! Integer constant expressions that check themselves: each check divides by
! zero (or overflows) only when the folded value differs from the expected one.
program integer_folding
  implicit none
  integer, parameter :: big = 2147483647
  integer, parameter :: least = -big - 1
  ! Arithmetic at the edges of the 32-bit range.
  integer, parameter :: a1 = 1 / (1 - min(abs(-least / 2 - 1073741824), 1))
  integer, parameter :: a2 = 1 / (1 - min(abs(7 / (-2) + 3), 1))
  integer, parameter :: a3 = 1 / (1 - min(abs(least * 1 - least), 1))
  integer, parameter :: a4 = 1 / (1 - min(abs((-2) ** 31 - least), 1))
  integer, parameter :: a5 = 1 / (1 - min(abs(2 ** (-1)), 1))
  integer, parameter :: a6 = 1 / (1 - min(abs((-1) ** (-3) + 1), 1))
  integer, parameter :: a7 = 1 / (1 - min(abs(1 ** (-5) - 1), 1))
  integer, parameter :: a8 = 1 / (1 - min(abs(-least - least), 1))
  ! MOD and MODULO.
  integer, parameter :: m1 = 1 / (mod(-7, 3) + 2)
  integer, parameter :: m2 = 1 / (1 - min(abs(modulo(-7, 3) - 2), 1))
  integer, parameter :: m3 = 1 / (1 - min(abs(modulo(7, -3) + 2), 1))
  integer, parameter :: m4 = 1 / (1 - min(abs(modulo(1, least) - (least + 1)), 1))
  integer, parameter :: m5 = 1 / (1 - min(abs(mod(least, -1)), 1))
  ! Bits.
  integer, parameter :: b1 = 1 / (1 - min(abs(iand(12, 10) - 8), 1))
  integer, parameter :: b2 = 1 / (1 - min(abs(ieor(12, 10) - 6), 1))
  integer, parameter :: b3 = 1 / (1 - min(abs(not(0) + 1), 1))
  integer, parameter :: b4 = 1 / (1 - min(abs(ishft(1, 31) - least), 1))
  integer, parameter :: b5 = 1 / (1 - min(abs(ishft(-1, -28) - 15), 1))
  integer, parameter :: b6 = 1 / (1 - min(abs(ishft(1, 32)), 1))
  integer, parameter :: b7 = 1 / (1 - min(abs(ishftc(6, 1, 3) - 5), 1))
  integer, parameter :: b8 = 1 / (1 - min(abs(ishftc(6, -1, 3) - 3), 1))
  integer, parameter :: b9 = 1 / (1 - min(abs(ibits(14, 1, 3) - 7), 1))
  integer, parameter :: b10 = 1 / (1 - min(abs(ibits(-1, 0, 32) + 1), 1))
  integer, parameter :: b11 = 1 / (1 - min(abs(ibset(0, 31) - least), 1))
  integer, parameter :: b12 = 1 / (1 - min(abs(ibclr(-1, 31) - big), 1))
  ! MAX, MIN, SIGN, DIM, ABS.
  integer, parameter :: s1 = 1 / (1 - min(abs(max(3, 9, -2) - 9), 1))
  integer, parameter :: s2 = 1 / (1 - min(abs(min(3, 9, -2) + 2), 1))
  integer, parameter :: s3 = 1 / (1 - min(abs(sign(5, -1) + 5), 1))
  integer, parameter :: s4 = 1 / (1 - min(abs(sign(-5, 0) - 5), 1))
  integer, parameter :: s5 = 1 / (1 - min(abs(dim(3, 5)), 1))
  integer, parameter :: s6 = 1 / (1 - min(abs(abs(least) - least), 1))
  ! Numeric inquiries and kind selectors.
  integer, parameter :: q1 = 1 / (1 - min(abs(huge(0) - big), 1))
  integer, parameter :: q2 = 1 / (1 - min(abs(huge(0_1) - 32767), 1))
  integer, parameter :: q3 = 1 / (1 - min(abs(range(0.0) - 37), 1))
  integer, parameter :: q4 = 1 / (1 - min(abs(precision(0.0d0) - 15), 1))
  integer, parameter :: q5 = 1 / (1 - min(abs(digits(0) - 31), 1))
  integer, parameter :: q6 = 1 / (1 - min(abs(bit_size(0) - 32), 1))
  integer, parameter :: q7 = 1 / (1 - min(abs(selected_int_kind(4) - 1), 1))
  integer, parameter :: q8 = 1 / (1 - min(abs(selected_int_kind(10) + 1), 1))
  integer, parameter :: q9 = 1 / (1 - min(abs(selected_real_kind(7) - 2), 1))
  integer, parameter :: q10 = 1 / (1 - min(abs(selected_real_kind(16, 400) + 3), 1))
  integer, parameter :: q11 = 1 / (1 - min(abs(selected_real_kind(r=400) + 2), 1))
  integer, parameter :: q12 = 1 / (1 - min(abs(maxexponent(0.0) - 128), 1))
  ! A kind selector folded from an expression.
  integer(kind=selected_int_kind(4)), parameter :: small = 32767
  integer, parameter :: q13 = 1 / (1 - min(abs(kind(small) - 1), 1))
  real(kind=selected_real_kind(10)), parameter :: dp = 1.0
  integer, parameter :: q14 = 1 / (1 - min(abs(kind(dp) - 2), 1))
  integer, parameter :: q15 = 1 / (1 - min(abs(bit_size(small) - 16), 1))
end program integer_folding
