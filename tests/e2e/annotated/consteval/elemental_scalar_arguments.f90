! Elemental intrinsics with a scalar beside an array argument fold element
! by element, the scalar going with every element; each check divides by
! zero only when a folded value is wrong.
program elemental_scalar_arguments
  implicit none
  integer, parameter :: m(3) = mod((/ 7, 8, 9 /), 4)
  integer, parameter :: hi(3) = max(2, (/ 1, 5, 3 /))
  integer, parameter :: ib(2) = ibset((/ 0, 1 /), 2)
  integer, parameter :: d(2) = dim(10, (/ 3, 12 /))
  integer, parameter :: x1 = 1 / (1 - min(abs(m(1) - 3) + abs(m(2)) + abs(m(3) - 1), 1))
  integer, parameter :: x2 = 1 / (1 - min(abs(hi(1) - 2) + abs(hi(2) - 5) + abs(hi(3) - 3), 1))
  integer, parameter :: x3 = 1 / (1 - min(abs(ib(1) - 4) + abs(ib(2) - 5), 1))
  integer, parameter :: x4 = 1 / (1 - min(abs(d(1) - 7) + abs(d(2)), 1))
  integer, parameter :: n = size(mod((/ 1, 2, 3, 4 /), 3))
  integer :: v(n)
  v = 0
  print *, x1, x2, x3, x4, v
end program elemental_scalar_arguments
