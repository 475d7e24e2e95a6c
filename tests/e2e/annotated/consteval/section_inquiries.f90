! LBOUND, UBOUND, SHAPE and SIZE of sections of a rank-2 constant: two
! triplets, a triplet beside a scalar subscript, strides, omitted bounds and
! empty triplets. A section counts from 1 and an empty triplet has extent 0.
! Each check divides by zero only when a folded value is wrong.
program section_inquiries
  implicit none
  integer :: i
  ! c(i, j) = i + 3 * (j - 1)
  integer, parameter :: c(3, 4) = reshape((/ (i, i = 1, 12) /), (/ 3, 4 /))
  integer, parameter :: sh(2) = shape(c(1:2, 2:3))
  integer, parameter :: lo(2) = lbound(c(2:3, 2:4))
  integer, parameter :: hi(2) = ubound(c(2:3, 2:4))
  integer, parameter :: mixed(1) = shape(c(3, 2:4))
  integer, parameter :: strided(2) = shape(c(1:3:2, 4:1:-2))
  integer, parameter :: open_ends(2) = shape(c(:, 2:))
  integer, parameter :: empty(2) = shape(c(3:2, :))
  integer, parameter :: part(2, 2) = c(2:3, 3:4)
  integer, parameter :: x1 = 1 / (1 - min(abs(size(c(2:3, 1:4)) - 8), 1))
  integer, parameter :: x2 = 1 / (1 - min(abs(sh(1) - 2) + abs(sh(2) - 2), 1))
  integer, parameter :: x3 = 1 / (1 - min(abs(lo(1) - 1) + abs(lo(2) - 1), 1))
  integer, parameter :: x4 = 1 / (1 - min(abs(hi(1) - 2) + abs(hi(2) - 3), 1))
  integer, parameter :: x5 = 1 / (1 - min(abs(ubound(c(2:3, 1:4), 2) - 4), 1))
  integer, parameter :: x6 = 1 / (1 - min(abs(mixed(1) - 3) + abs(size(c(1:2, 4)) - 2), 1))
  integer, parameter :: x7 = 1 / (1 - min(abs(strided(1) - 2) + abs(strided(2) - 2), 1))
  integer, parameter :: x8 = 1 / (1 - min(abs(open_ends(1) - 3) + abs(open_ends(2) - 3), 1))
  integer, parameter :: x9 = 1 / (1 - min(abs(empty(1)) + abs(empty(2) - 4), 1))
  integer, parameter :: x10 = 1 / (1 - min(abs(size(c(3:2, 1:4))) + abs(size(c(3:2:2, :))) + abs(ubound(c(3:2, :), 1)), 1))
  integer, parameter :: x11 = 1 / (1 - min(abs(lbound(c(3:2, :), 1) - 1) + abs(size(c(2:3, 1:4), 1) - 2), 1))
  integer, parameter :: x12 = 1 / (1 - min(abs(part(1, 1) - 8) + abs(part(2, 2) - 12), 1))
  integer, parameter :: x13 = 1 / (1 - min(abs(size(c((/ 1, 2 /), 3:2:2))) + abs(size(c((/ 3 /), 1:4:2)) - 2), 1))
  integer :: v(size(c(1:2, 2:4)), ubound(c(2:2, 1:4:3), 2))
  v = 0
  print *, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10, x11, x12, x13, shape(v)
end program section_inquiries
