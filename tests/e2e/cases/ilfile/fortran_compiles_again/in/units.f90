module shapes
  implicit none
  integer, parameter :: nmax = 10
  type point
    sequence
    integer :: x, y
  end type point
  integer :: counter = 0
  interface area
    module procedure square_area
  end interface area
contains
  function square_area(side) result(a)
    integer, intent(in) :: side
    integer :: a
    a = side * side
  end function square_area
end module shapes

recursive subroutine walk(n, total)
  implicit none
  integer, intent(in) :: n
  integer, intent(inout) :: total
  if (n > 0) then
    total = total + n
    call walk(n - 1, total)
  end if
end subroutine walk

program main
  use shapes
  implicit none
  integer :: i, j, k
  real :: r
  logical :: flag
  character(len=8) :: name
  type(point) :: p
  integer, allocatable :: al(:)
  integer :: v(3)
  j = 0
  do i = 1, nmax, 2
    j = j + square_area(i)
  end do
  if (j > 3) then
    j = 1
  else if (j < 0) then
    j = 2
  else
    j = 3
  end if
  do while (j < 5)
    j = j + 1
    if (j == 4) exit
  end do
  select case (j)
  case (1)
    j = 2
  case (2:4)
    j = 3
  case default
    j = 4
  end select
  allocate (al(nmax))
  v = (/ 1, 2, 3 /)
  where (v > 1)
    v = 0
  elsewhere
    v = 1
  end where
  deallocate (al)
  p%x = counter
  r = 2.5
  flag = .not. (r > 1.0)
  name = 'a*/b'
  k = 0
  call walk(3, k)
  goto 10
10 continue
  stop
end program main
