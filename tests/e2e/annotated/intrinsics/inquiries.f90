! Inquiry functions of assumed-size arrays, PRESENT, ASSOCIATED, ALLOCATED,
! INDEX in a restricted expression and the intrinsic subroutines.
subroutine inquire(a, b, x, y, n)
  implicit none
  real :: a(*), b(3, *)
  real, optional :: x
  real :: y
  integer :: n, seed(8), c
  integer(kind=1) :: small
  real, pointer :: p
  real, target :: t
  real, allocatable :: w(:)
  real :: z(3)
  character(len=index('abc', 'b')) :: s1
  real :: r1(index('abc', 'b'))
! expect: error: must be a restricted expression
  real :: r2(index('abc', 'b', .true.))
! expect: error: an assumed-size array is not allowed
  print *, ubound(a)
  print *, ubound(b, 1)
! expect: error: an assumed-size array is not allowed
  print *, ubound(b, 2)
! expect: error: an assumed-size array is not allowed
  print *, size(a)
  print *, size(b, 1)
  print *, lbound(z), shape(z), len(s1), huge(y), digits(n)
  print *, present(x)
! expect: error: symbol "Y" is not OPTIONAL
  print *, present(y)
! expect: error: symbol "Z" is not dummy argument
  print *, present(z)
! expect: error: argument to intrinsic function PRESENT is not a name
  print *, present(y + 1.0)
  print *, associated(p), associated(p, t)
! expect: error: expected a pointer entity
! expect: error: must be a pointer
  print *, associated(t)
  print *, allocated(w)
! expect: error: must be an allocatable array
  print *, allocated(z)
  call random_seed(size=n)
! expect: error: too many actual arguments
  call random_seed(size=n, put=seed)
  call random_number(y)
  call system_clock(c)
! expect: error: argument must be of type default integer
  call system_clock(small)
  call mvbits(n, 0, 2, c, 1)
  print *, r1, r2, scan('abc', 'c'), verify('abc', 'a'), lge('a', 'b')
end subroutine inquire
