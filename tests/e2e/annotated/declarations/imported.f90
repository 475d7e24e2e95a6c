! Attributes a symbol has already take part in the conflict test: a name
! from a module, a COMMON member.
module shared
  integer :: v, w
end module shared
program uses_shared
  use shared
! expect: error: module imported entity should not be type supplied
  real :: v
! expect: error: module imported entity should not be explicit shape array
  dimension w(3)
  integer :: c1
  common /a/ c1
! expect: error: entity "C1" declared common block associated repeatedly
  common /b/ c1
  v = 1
  w = 2
  c1 = 1
end program uses_shared
! status: 2
