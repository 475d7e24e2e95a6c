! args: -R
! With expressions kept as written, constant expressions still have their
! type and value where the checks need them: CASE values and bounds.
subroutine kept(k, s)
  integer, parameter :: n = 3
  integer, intent(in) :: k
  character(len=*), intent(in) :: s
  real :: c(2+1), d(4), e(n*2-3)
  character(len=n+1) :: w
  select case (k)
  case (n:n+2)
    c = 1.0
  case (2*n+1, -n)
    c = e
  case (:n-7)
    c = 0.0
  end select
  select case (s)
  case ('a':'c')
    w = s
  end select
! expect: error: expression type is incompatible with destination
  c = d
  d = 0.0
  e = 0.0
  w = 'abcd'
end subroutine kept
! status: 2
