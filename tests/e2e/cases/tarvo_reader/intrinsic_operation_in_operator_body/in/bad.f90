module bufs
  implicit none
  type buf
    character(len=80) :: text
    integer :: used
  end type buf
  interface operator(//)
    module procedure cat
  end interface
contains
  function cat(a, b) result(c)
    type(buf), intent(in) :: a, b
    type(buf) :: c
    c%text = a%text // b%used
    c%used = 0
  end function cat
end module bufs
