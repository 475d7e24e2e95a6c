! A type declaration with a faulty attribute or length still declares its
! entities; a conflicting second typing is reported at the name.
subroutine recovered(n)
  implicit none
  integer :: n
  integer :: k
! expect: error: an attribute specifier expected
  real, foo :: a, b
! expect: error: an attribute specifier expected
  real, in :: e
! expect: error: a length specification is not allowed for this data type
  real :: c*4, d
  real :: &
! expect: error: entity "K" declared type supplied repeatedly
! expect: error: type declaration conflicts with the implied type
    k
  a = 1.0
  b = 2.0
  c = 3.0
  d = 4.0
  e = 5.0
  print *, a, b, c, d, e, n, k
end subroutine recovered

! Locals inside intrinsic arguments of a bound are no specification
! expression; dummies are.
subroutine bounds_with_intrinsics(n)
  integer :: n, m
! expect: error: must be a restricted expression
  real :: y1(abs(m))
  real :: y2(abs(n)), y3(max(n, 1))
  m = 1
  y1 = 0.0
  y2 = 0.0
  y3 = 0.0
end subroutine bounds_with_intrinsics

! Elemental INTEGER and CHARACTER intrinsics of constant arguments are
! initialization expressions: 1 / (1 + |error|) is 1 only when every fold is
! right, so each check below divides by zero after a wrong fold.
subroutine string_searches
  integer, parameter :: i1 = index('abcbc', 'bc'), i2 = index('ab', ''), i3 = index('ab', 'abc')
  integer, parameter :: s1 = scan('hello', 'lo'), s2 = scan('xyz', 'q')
  integer, parameter :: v1 = verify('aab', 'a'), v2 = verify('aaa', 'a'), c1 = ichar('A')
  integer, parameter :: l1 = len_trim('ab  '), a1 = iachar('a')
  integer, parameter :: t1 = 1 / (1 / (1 + abs(i1 - 2) + abs(i2 - 1) + abs(i3)))
  integer, parameter :: t2 = 1 / (1 / (1 + abs(s1 - 3) + abs(s2) + abs(v1 - 3) + abs(v2)))
  integer, parameter :: t3 = 1 / (1 / (1 + abs(c1 - 65) + abs(l1 - 2) + abs(a1 - 97)))
  character(len=index('key=value', '=')) :: key
  key = 'abcd'
  print *, t1, t2, t3, key
end subroutine string_searches
