! Attribute conflicts of declarations: a conflicting requested attribute is
! dropped, an attribute given twice is refused.
module decl_attrs
  integer, pointer :: p
! expect: error: pointer entity should not be target
  target :: p
! expect: error: explicit shape array entity should not be allocatable
  real, allocatable :: a(10)
! expect: error: attribute specifier appears repeatedly
  real, save, save :: s
! expect: error: an attribute specifier expected
  real, volatile :: v
! expect: error: external entity should not be pointer
  real, external, pointer :: f
  real, pointer, dimension(:) :: list
  real, allocatable :: grid(:,:)
end module decl_attrs
subroutine intents(x, y, z)
  real :: x, y
  intent(in) :: x
! expect: error: entity "X" declared intent attributed repeatedly
  intent(out) :: x
! expect: error: intent attributed entity should not be pointer
  real, intent(inout), pointer :: z
! expect: error: entity "Y" declared type supplied repeatedly
! expect: error: type declaration conflicts with the implied type
  real :: y
  y = x + z
end subroutine intents
subroutine outside
! expect: error: access specifier or statement may appear only in scoping union of a module
  integer, public :: i
  integer :: k
  common /c/ k
! expect: error: declaration conflicts with previous specifications
  external k
  i = k
end subroutine outside
