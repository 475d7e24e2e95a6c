! Array functions refusing their arguments: mixed element types, shapes that
! do not conform, SHAPE arguments of unknown size, shift arrays of the wrong
! rank, and the functions allowed in a named constant's value.
subroutine arrays(a, v, n, lm)
  implicit none
  integer :: n
  real :: a(3, 4), v(12), w(12), b(3, 4)
  logical :: lm(12), l2(3, 4)
  integer :: iv(12), sh(n), sv(4), s2(3, 4)
  character(len=4) :: c(12)
  integer, parameter :: p(2, 2) = reshape((/1, 2, 3, 4/), (/2, 2/))
  integer, parameter :: q = size(transfer(1.0d0, (/1/)))
! expect: error: non-constant bound array or non-constant length string not allowed
  print *, reshape(v, sh)
! expect: error: operands are incompatible
  print *, reshape(v, (/3, 4/), order=(/1, 2, 3/))
! expect: error: operands are incompatible
  print *, pack(v, lm, c)
! expect: error: operands are incompatible
  print *, unpack(c, lm, w)
! expect: error: operands are incompatible
  print *, pack(v, l2)
! expect: error: the rank must be equal to rank of the first argument minus one
  b = cshift(a, s2)
! expect: error: the rank must be equal to rank of the first argument minus one
  b = eoshift(a, 1, b)
  b = eoshift(a, sv, v(1:4), 1)
! expect: error: operands are incompatible
  b = eoshift(a, 1, 1)
  w = merge(v, w, lm)
  print *, p, q, iv, c
end subroutine arrays
