! Executable statements: loop control, CYCLE and EXIT with construct names,
! ALLOCATE lists, STOP codes and the dependent statement of a logical IF.
program exec
  integer :: i, n
  real, allocatable :: a(:), b(:)
  logical :: l
! expect: error: increment of DO is not allowed to be zero
  do i = 1, 10, 0
  end do
! expect: error: expected a ","
  do i = 1, 10 2
  end do
  lp: do i = 1, 3
    if (l) cycle lp
! expect: error: undefined construct name
! expect: error: EXIT statement without DO construct
    exit n
    if (l) exit lp
  end do lp
  outer: if (l) then
! expect: error: undefined construct name
! expect: error: EXIT statement without DO construct
    exit outer
  end if outer
! expect: error: expected a "," or a ")"
  allocate (a(10) b(3))
! expect: error: expected a ")"
  allocate (a(10), stat=n b)
  deallocate (a, b, stat=n)
! expect: error: invalid dependent statement of a logical IF -- ignored
  if (l) if (l) n = 1
! expect: error: invalid dependent statement of a logical IF -- ignored
  if (l) format (I5)
! expect: warning: more than 5 digits in STOP or PAUSE is not standard
  if (l) stop 123456
  stop 12345
! status: 2
end program exec
