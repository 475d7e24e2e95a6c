! Type-declaration statements, DIMENSION, PARAMETER and initial values.
module decl_stmts
  integer :: i = 1
! expect: error: double colon must appear before entity declaration
  integer j = 2
! expect: error: expected an "="
  integer, parameter :: n
! expect: error: a length specification is not allowed for this data type
  real x*4
  real, dimension(3) :: r3, r4(5)
! expect: error: attribute specifier appears repeatedly
  real, dimension(2), dimension(3) :: r5
  dimension :: dd(4)
  real :: dd
  parameter (np = 3, mp = np + 1)
! expect: error: expected an "="
  parameter (bad)
  character :: s*4, t*(8)
end module decl_stmts
subroutine saved(x)
  save
! expect: error: all variables already have SAVE specification
  real, save :: q
! expect: error: attribute specifier appears repeatedly
  real, intent(in), intent(out) :: x
  q = x
end subroutine saved
block data init
  common /blk/ u, v
! expect: error: allocatable not allowed
  real, allocatable :: u
! expect: error: external not allowed
  real, external :: v
end block data init
