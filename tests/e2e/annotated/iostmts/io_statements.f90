! Input/output statements: control lists, short forms, item lists, and the
! messages of specifiers that a statement does not take or that conflict.
program io
  integer :: i, n, k(3)
  real :: x
  character(len=20) :: s
  logical :: l
  namelist /g/ i, x
100 format (I5)
  read (5, 100, err=20, end=30) i, x
  read (5, *) (k(i), i = 1, 3)
  read 100, i
  read *, x
  read (5, g)
  read (5, nml=g)
  write (6, 100) i
  write (6, *) i, x
  write (*, '(A)') s
  write (s, '(I5)') i
  write (6, '(I5)', advance='no') i
  print *, i, x
  print 100, i
  open (10, file='a.dat', status='old', iostat=n)
  close (10, status='keep')
  inquire (file='a.dat', exist=l)
  inquire (iolength=n) i, x
  backspace 7
  backspace (unit=7, iostat=i)
  rewind 10
  endfile (10)
! expect: error: Specifier is repeated
  read (5, 100, err=20, err=30) i
! expect: error: I/O specifier conflicts with a previous specification
  write (6, *, rec=3) i
! expect: error: I/O specifier conflicts with a previous specification
  read (5, fmt=100, nml=g)
! expect: error: invalid I/O keyword for this statement
  close (10, file='x')
! expect: error: missing unit specifier
  inquire (exist=l)
! expect: error: missing ADVANCE specifier
  read (5, '(A)', eor=20) s
! expect: error: ADVANCE can be specified for explicit format only
  write (6, *, advance='no') i
! expect: error: I/O specifier conflicts with a previous specification
  inquire (unit=5, iolength=n)
! expect: error: expected a "("
  write 100
! expect: error: expected an I/O keyword
  read (5, 100, x) i
! expect: error: invalid NAMELIST name
  write (6, nml=h)
! expect: error: label must be a FORMAT label
  write (6, 20) i
20 continue
30 continue
! status: 2
end program io
