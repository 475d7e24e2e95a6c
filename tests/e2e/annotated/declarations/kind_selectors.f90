! A kind selector that is not a constant is reported, not taken silently
! as the error type.
subroutine s(k)
  integer :: k
  integer, parameter :: kk = 2
! expect: error: must be an initialization expression
  integer(kind=k) :: x
! expect: error: must be an initialization expression
  real(k) :: y
! expect: error: must be an initialization expression
  character(kind=k) :: c
  integer(kind=kk) :: z
  logical(kind(.true.)) :: l
  x = 1; y = 1; c = 'a'; z = 1; l = .true.
end subroutine s
! status: 2
