! Derived types of a module: a numeric sequence type, a character sequence
! type and a type with a pointer component.
module shapes
  type point
    sequence
    real :: x, y
  end type point
  type tag
    sequence
    character(len=4) :: code
  end type tag
  type node
    sequence
    integer :: value
    type(node), pointer :: next
  end type node
  type(point) :: corner
  real :: coords(2)
  equivalence (corner, coords)
end module shapes
