! Intrinsic operators and assignment: common operand types, conforming
! shapes, restricted expressions.
program operators
  implicit none
  real :: x, a(4), b(5)
  integer :: i, n
  complex :: z
  logical :: l, m(4)
  character(len=3) :: s
  x = 1.0
  i = 2
  z = (1.0, 2.0)
  s = 'abc'
  x = x + i
  x = -x
  z = z ** 0.5
  x = x ** 2
  i = i ** 2
  l = i .eq. x
  l = s // 'de' == 'abcde'
  a = 1.0
  b = 2.0
  m = a == a
! expect: error: operands are incompatible
  l = any(a == b)
! expect: error: operands are incompatible
  a = a + b
  l = .not. l .and. m(1)
  n = 3
  print *, x, i, z, l, s, a, b, m, n
end program operators


subroutine arrays(w, v)
  implicit none
  real :: w(*), v(3)
  real :: x, f, g, t
  integer :: n(1)
  f(t) = t + 1.0
! expect: error: processing array-valued expressions is not allowed
  g(t) = t + sum(v)
! expect: error: an assumed-size array is not allowed
  x = sum(w)
  n = lbound(w)
  x = f(v(1)) + g(2.0) + maxval(v)
  print *, x, n
end subroutine arrays
