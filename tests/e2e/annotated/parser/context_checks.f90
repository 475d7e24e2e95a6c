! status: 2
module m
integer k
type t
  integer i
! expect: error: statement not allowed in type definition
  dimension q(2)
! expect: error: statement out of order -- ignored
  sequence
end type t
type u
! expect: error: expected component definition statement
end type u
private
! expect: error: statement not allowed in MODULE subprograms
entry e
! expect: error: statement not allowed in MODULE subprograms
k = 1
contains
subroutine s
! expect: error: statement out of order -- ignored
module procedure q
contains
subroutine inner
! expect: error: statement not allowed in internal subprograms
contains
end subroutine inner
end subroutine s
end module m

block data b
! expect: error: statement not allowed in BLOCK DATA subprograms
external f
! expect: error: statement not allowed in BLOCK DATA subprograms
interface
! expect: error: statement not allowed in BLOCK DATA subprograms
x = 1
end block data b

subroutine typed
type w
  integer j
! expect: error: missing END TYPE statement
! expect: error: recursive call of a non-recursive or statement function
call typed
end subroutine typed

subroutine host
interface
  subroutine body(x)
    real x
! expect: error: statement not allowed in interface bodies
    x = 1
! expect: error: statement not allowed in interface bodies
    contains
  end subroutine body
end interface
! expect: error: access specifier or statement may appear only in scoping union of a module
public
real y
y = 1
end subroutine host

program main
! expect: error: statement not allowed in PROGRAM subprograms
entry g
! expect: error: INCLUDE-line must not be supplied with a statement label
10 include 'context_checks.h'
end program main
