! CHARACTER*(n) with n a named constant, and CHARACTER*(expression) with a
! constant expression, declare entities of that length: they are no
! automatic objects, and they take their size in COMMON.
block data names
  integer, parameter :: n = 8
  character*(n) title
  character*(2*n+1) heading
  character*(n) label*(n-2)
  integer count
  common /text/ title, heading, label, count
  data title /'abcdefgh'/, heading /'0123456789abcdefg'/
  data label /'xyzxyz'/, count /3/
end block data names

subroutine lengths(m, s)
  integer, parameter :: k = 4
  integer m
  character*(*) s
  character*(k) :: a = 'abcd'
  character*(k + 1), save :: b
  character*(m) work
  character*(k) c(2)
  data c /'wxyz', 'pqrs'/
  save c
  b = a
  work = s
  s = b // c(1) // work
end subroutine lengths
