! EQUIVALENCE items with constant subscripts and substring positions: their
! storage offsets (pairs that agree only when the offsets are right), and the
! messages for sections and positions out of range.
subroutine equivalence_offsets
  real :: x(10), y, z(3), w(2, 3)
  character(len=8) :: s, t, u
  ! X(3) is 8 bytes in, W(2,2) 12 bytes, S(2:3) one character.
  equivalence (x(3), y), (y, x(3))
  equivalence (w(2, 2), x(4)), (w(1, 1), x(1)), (w(1, 2), y)
  equivalence (s(2:3), t), (t(2:2), s(3:3))
! expect: error: inconsistent EQUIVALENCE specifications for variable "Y"
  equivalence (x(4), y)
! expect: error: an array section is not allowed
  equivalence (x(1:2), z)
! expect: error: subscript out of range
  equivalence (x(11), z)
! expect: error: substring character position out of range
  equivalence (u(0:1), t)
! expect: error: must be an initialization expression
  equivalence (x(n), z)
  y = x(1) + z(1) + w(1, 1)
  s = t // u
  x(1) = y + len(s)
end subroutine equivalence_offsets
! status: 2
