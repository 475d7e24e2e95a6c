! ASSOCIATED with a target that is a subobject: an element, a section or a
! substring of a target array, a section of a pointer array, a component
! of a target structure. A section of an array that is neither a target
! nor a pointer is refused, and so is an expression.
subroutine assoc(n)
  implicit none
  integer, intent(in) :: n
  type pair
    real :: v(4)
  end type pair
  real, pointer :: p(:), q(:), e
  real, target :: arr(20)
  type(pair), target :: tp
  real :: plain(20)
  character(len=8), pointer :: cp
  character(len=8), target :: names(3)
  arr = 1.0
  plain = 2.0
  p => arr(2:20:2)
  q => p(3:)
  e => arr(n)
  cp => names(2)
  print *, associated(q, arr(2:4)), associated(q, p(3:)), associated(e, arr(n))
  print *, associated(q, tp%v), associated(q, tp%v(1:2)), associated(cp, names(2))
! expect: error: must be a pointer or target
  print *, associated(q, plain(1:3))
! expect: error: expected a variable
  print *, associated(q, arr + 1.0)
end subroutine assoc
