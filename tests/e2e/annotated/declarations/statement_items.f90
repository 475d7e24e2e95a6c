! STOP codes are plain digit strings, ALLOCATE needs an item before STAT=,
! and the items of an I/O statement whose control list failed are still
! read, so the names they use count as referenced.
subroutine stops(l, u)
  logical :: l
  integer :: u, ist, x, y, w
  real :: z
  real, allocatable :: a(:)
! expect: error: expected a string of digits or a character constant
  if (l) stop -1
! expect: warning: obsolescent statement
! expect: error: expected a string of digits or a character constant
  if (l) pause +2
  if (l) stop 1
  if (l) stop 'done'
  if (l) stop
! expect: error: expected an expression
  allocate (stat=ist)
  allocate (a(3), stat=ist)
  deallocate (a, stat=ist)
! expect: error: expected an I/O keyword
  read (u, fmt=*, bogus=3) x
! expect: error: expression must be variable of type default integer
  write (u, *, iostat=z) y
  write (u, *) w
end subroutine stops
! status: 2
