! Lexical comparisons in restricted expressions, DATE_AND_TIME values of
! another kind, status inquiries of expressions and of plain variables,
! SHAPE of an assumed-size array and an OPTIONAL DIM of UBOUND.
subroutine status(a, d, e)
  implicit none
  real :: a(*), e(2, 2)
  integer, optional :: d
  integer(kind=1) :: vals(8)
  integer :: good(8), k
  character(len=8) :: day
  real, pointer :: p
  real :: plain
  real, target :: t
! expect: error: must be a restricted expression
  real :: r(merge(1, 2, lge('a', 'b')))
  call date_and_time(day, values=good)
! expect: error: argument must be of type default integer
  call date_and_time(values=vals)
! expect: error: expected a variable
  print *, allocated(a(1) + 1.0)
! expect: error: must be a pointer or target
  print *, associated(p, plain)
  print *, associated(p, t)
! expect: error: an assumed-size array is not allowed
  print *, shape(a)
! expect: error: argument must not be an optional dummy argument
  k = ubound(e, d)
  print *, r, k, day
end subroutine status
