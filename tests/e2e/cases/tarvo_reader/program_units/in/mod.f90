module m
  implicit none
  integer, parameter :: k = 4
contains
  subroutine s(a)
    real, intent(in) :: a
    print *, a
  end subroutine s
  pure function f(x) result(y)
    real, intent(in) :: x
    real :: y
    y = x
  end function f
end module m
program p
  use m
  implicit none
  real :: z
  integer :: i
  z = 1.0; i = 2
  outer: do i = 1, 3
    if (i == 2) cycle outer
  end do outer
  select case (i)
  case (1)
    call s(z)
  case default
  end select
  where (z > 0) z = 1
  call inner()
contains
  subroutine inner()
    z = 2
  end subroutine inner
end program p
