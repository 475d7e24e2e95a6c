! Array constructors with implied DOs and scalar values spread over array
! PARAMETERs, checking themselves: each check divides by zero only when the
! folded value differs from the expected one.
program implied_do_constructors
  implicit none
  integer :: i
  integer, parameter :: sq(4) = (/ (i * i, i = 1, 4) /)
  integer, parameter :: one(1) = (/ 0, (i, i = 5, 1) /)
  integer, parameter :: down(3) = (/ (10 * i, i = 3, 1, -1) /)
  integer, parameter :: fives(3) = 5
  integer, parameter :: x1 = 1 / (1 - min(abs(sq(4) - 16), 1))
  integer, parameter :: x2 = 1 / (1 - min(abs(one(1)), 1))
  integer, parameter :: x3 = 1 / (1 - min(abs(down(1) - 30), 1))
  integer, parameter :: x4 = 1 / (1 - min(abs(fives(2) - 5), 1))
end program implied_do_constructors
