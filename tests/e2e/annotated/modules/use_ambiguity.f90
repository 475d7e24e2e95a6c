! status: 2
module ma
integer x, y
type t
  integer i
end type t
contains
subroutine sa
end subroutine sa
end module ma
module mb
real x
integer z
contains
subroutine sa
end subroutine sa
end module mb
module mc
use ma
end module mc

! Two modules that give one name to different entities: accepted at USE,
! reported where the name is used.
program p
use ma
use mb
z = y
! expect: error: impossible use-name
print *, x
! expect: error: impossible use-name
call sa
end program p

! The same entity reached through two modules is one entity.
subroutine same_entity
use ma
use mc
type(t) v
v%i = x
call sa
end subroutine same_entity

! A name bound to two entities and never used is no fault.
subroutine unused_clash
use ma
use mb
y = z
end subroutine unused_clash

module mm
contains
subroutine inner
! expect: error: module name required
use mm
end subroutine inner
end module mm

module md
interface g
  module procedure p1
! expect: error: subprogram interface already specified
  module procedure p2, p1
end interface
contains
subroutine p1(i)
integer i
end subroutine p1
subroutine p2(r)
real r
end subroutine p2
end module md
