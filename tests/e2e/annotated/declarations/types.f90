! Type specifiers and derived-type definitions.
module decl_types
  type :: point
    sequence
! expect: error: sequence statement has been already specified
    sequence
    real :: x, y
! expect: error: comma not allowed
    character*8, label
! expect: error: type name is not "POINT" as in the corresponding derived type statement
  end type other
  type, private :: segment
    type(point) :: ends(2)
  end type segment
! expect: error: expected an access specification
  type, bogus :: broken
    integer :: part
  end type broken
! expect: error: expected a "::"
  type, public unfinished
    integer :: part
  end type unfinished
  type(point) :: origin
  character(len=*, kind=1), parameter :: greeting = 'hi'
  character(kind=1, len=10) :: c10
! expect: error: keyword must not be omitted from actual argument specification
  character(len=10, 1) :: bad1
! expect: error: Specifier is repeated
  character(10, len=5) :: bad2
  character(len=-3) :: empty
! expect: error: kind value does not specify a representation method
  integer(kind=3) :: k3
! expect: error: invalid specifier
  integer(len=4) :: k4
! expect: error: expression must be of type integer
  integer(2.0) :: k5
  character*8, c1, c2
  character*(*), parameter :: title = 'decl'
  double precision :: dp
  integer*2 :: short
  logical(kind=1) :: flag
  complex :: z
end module decl_types
subroutine stray
! expect: error: statement out of order -- ignored
  end type stray
end subroutine stray
