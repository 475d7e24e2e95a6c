! TRANSFER of a structure with padding: a 2-byte INTEGER(KIND=1) component
! at offset 0 and a 4-byte INTEGER at offset 4, eight bytes in all. The
! padding bytes are zero both ways, so the words of the structure are its
! two components; a round trip gives the structure back. With an array
! MOLD, a zero-size SOURCE gives a zero-size result. Each check divides by
! zero only when a folded value is wrong.
program transfer_layout
  implicit none
  type pair
    integer(kind=1) :: a
    integer :: b
  end type pair
  integer, parameter :: a5(5) = (/ 1, 2, 3, 4, 5 /)
  integer, parameter :: w(2) = transfer(pair(1_1, 7), (/ 0 /))
  type(pair), parameter :: p = transfer((/ 3, 9 /), pair(0_1, 0))
  type(pair), parameter :: q = transfer(transfer(pair(5_1, -4), (/ 0 /)), p)
  type(pair), parameter :: two(2) = (/ pair(1_1, 2), pair(3_1, 4) /)
  integer, parameter :: words(4) = transfer(two, (/ 0 /))
  integer, parameter :: x1 = 1 / (1 - min(abs(size(w) - 2) + abs(w(1) - 1) + abs(w(2) - 7), 1))
  integer, parameter :: x2 = 1 / (1 - min(abs(p%a - 3) + abs(p%b - 9), 1))
  integer, parameter :: x3 = 1 / (1 - min(abs(q%a - 5) + abs(q%b + 4), 1))
  integer, parameter :: x4 = 1 / (1 - min(abs(words(2) - 2) + abs(words(3) - 3) + abs(words(4) - 4), 1))
  integer, parameter :: x5 = 1 / (1 - min(abs(size(transfer(a5(3:2), (/ 0 /)))), 1))
  integer, parameter :: x6 = 1 / (1 - min(abs(size(transfer('', (/ 'a' /)))), 1))
  integer, parameter :: x7 = 1 / (1 - min(abs(size(transfer(a5(3:2), (/ 0.0 /), 0))), 1))
  integer, parameter :: x8 = 1 / (1 - min(abs(size(transfer(a5(2:3), (/ 'abc' /))) - 3), 1))
  print *, x1, x2, x3, x4, x5, x6, x7, x8
end program transfer_layout
