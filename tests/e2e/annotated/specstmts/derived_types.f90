! Derived types completed at END TYPE; access statements in a module.
module m
! expect: error: non-pointer component type "NODE" is not previously defined
type node
  integer :: v
  type(node) :: next
end type node
type list
  type(list), pointer :: next
end type list
public :: operator(.cross.)
interface operator(.cross.)
  module procedure cross
end interface
public
! expect: error: access statement has been already specified
public
contains
function cross(a, b)
  real, intent(in) :: a, b
  real :: cross
  cross = a * b
end function cross
end module m
! status: 2
