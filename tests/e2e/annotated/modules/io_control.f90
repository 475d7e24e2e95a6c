! status: 2
subroutine w(k, l, line)
integer k
logical l
character(len=20) line
integer i
! expect: error: invalid I/O unit number
write (100, *) k
! expect: error: invalid I/O unit number
write (-1, *) k
write (99, *) k
! expect: error: expression must be variable of type default logical
inquire (unit=1, exist=i)
! expect: error: I/O specifier conflicts with a previous specification
write (line, *, rec=2) k
inquire (unit=1, exist=l)
end subroutine w

subroutine r(line)
character(len=20) line
integer a
namelist /g/ a
! expect: error: NAMELIST-directed internal I/O is not allowed
read (line, nml=g)
end subroutine r
