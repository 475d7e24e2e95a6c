! status: 2
module m
type, private :: t
  integer i
end type t
! expect: error: public entity should not be of a private type
type(t), public :: v
end module m

subroutine c
type u
  integer i
end type u
! expect: warning: variable "X" declared and never referenced
! expect: error: derived type common block object must be of a sequence type
type(u) x
common /blk/ x
end subroutine c

subroutine s
type q
  sequence
  integer i
end type q
type(q) y
common /blk2/ y
y%i = 1
end subroutine s

subroutine n
real, allocatable :: a(:)
! expect: error: non-constant size variable is not allowed
namelist /g/ a
end subroutine n
