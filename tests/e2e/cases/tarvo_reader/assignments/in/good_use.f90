module m
  type point
    real :: x, y
  end type point
  type(point) :: pt
  real :: arr(10)
end module m
program p
  use m
  implicit none
  real :: s
  pt%x = 1.0
  s = pt%y + arr(3)
  arr(2) = s
  arr = 0.0
end program p
module m2
  real, allocatable, target :: w(:)
  real, pointer :: pw(:)
  real, target :: tw(5)
end module m2
subroutine t
  use m2
  allocate (w(3))
  pw => tw
  pw => w
  deallocate (w)
end subroutine t
