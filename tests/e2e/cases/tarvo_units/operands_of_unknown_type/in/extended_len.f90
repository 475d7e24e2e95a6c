module mstr
  implicit none
  type vs
    integer :: n
  end type vs
  interface len
    module procedure vlen
  end interface
contains
  integer function vlen(v)
    type(vs), intent(in) :: v
    vlen = v%n
  end function vlen
  subroutine s(c)
    character(len=*), intent(in) :: c
    character(len=len(c)) :: u
    integer :: k
    k = len(c)
    u = c
    print *, k, u
  end subroutine s
end module mstr
module muse
  use mstr
  implicit none
contains
  subroutine t(c)
    character(len=*), intent(in) :: c
    character(len=len(c)) :: u
    integer :: k
    k = len(c)
    u = c
    print *, k, u
  end subroutine t
end module muse
