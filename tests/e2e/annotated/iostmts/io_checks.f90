! What the unit pass checks in the control lists built by the I/O statements.
program checks
  integer :: i, iv
  character(len=10) :: s
  namelist /g/ i
! expect: warning: obsolescent statement
  assign 10 to iv
10 format (I5)
  write (99, *) i
  write (6, iv) i
  print iv, i
! expect: error: invalid I/O unit number
  write (100, *) i
! expect: error: NAMELIST-directed internal I/O is not allowed
  read (s, nml=g)
! expect: error: expression must be variable of type default integer
  read (5, 10, iostat=s) i
! status: 2
end program checks
