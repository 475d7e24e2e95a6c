program host
  implicit none
  integer, parameter :: rk = kind(1.0)
  type t
    integer :: i
  end type t
  integer :: n
  n = 1
  call s
contains
  subroutine s
    type(t) :: x
    real(rk) :: y
    x%i = n
    y = 2.0
    print *, x%i, y
  end subroutine s
end program host
