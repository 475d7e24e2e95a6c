! A pointer component may not be selected through an array of structures,
! with or without a subscript on the component.
program component_parts
  implicit none
  type t
    real, pointer :: q(:)
    real, pointer :: s
    real :: r(2)
  end type t
  type(t) :: ta(3)
  real :: x, y(3)
  x = ta(1)%q(1)
! expect: error: pointer field of the part with non-zero rank not allowed
  y = ta%q(1)
! expect: error: pointer field of the part with non-zero rank not allowed
  y = ta%s
  y = ta%r(1)
  x = ta(2)%s
  print *, x, y
end program component_parts
! status: 2
