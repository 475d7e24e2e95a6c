program q
  character(kind=nihongo) :: c1
  character(len=-1) :: c2
  integer n
  integer(kind=n) :: i1
  integer(kind=3) :: i2
  integer(kind=8) :: i3
  integer(kind=-1) :: i4
  real(kind=2.0) :: r1
  character(len=10, kind=1) :: s
  character(kind=1, len=10) :: s
  character(len=12) :: s
end program q
