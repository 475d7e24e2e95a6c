! status: 2
! A public type with a component of a private type: the module's messages
! are given once, not again for the copy a program of the same file makes
! by USE.
module shapes
  implicit none
  private
  public :: body, make
  type face
    integer :: v(3)
  end type face
  type body
! expect: error: public entity should not be of a private type
! expect: error: public derived type component "FACES" is of a private type
    type(face), pointer :: faces(:)
    integer :: nf
  end type body
contains
  subroutine make(b)
    type(body), intent(out) :: b
    b%nf = 2
    allocate(b%faces(b%nf))
  end subroutine make
end module shapes
program build
  use shapes
  implicit none
  type(body) :: x
  call make(x)
  print *, x%nf
end program build
