! The attributes of every entity are checked once more when its unit has
! been read: requirements left unmet and conflicts known only then are
! reported, each once; a conflicting attribute given later is dropped.
! expect: error: equivalence entity should not be dummy argument
subroutine s(n, d)
  integer :: n
  real :: d
! expect: error: intent attributed entity should be dummy argument
  real, intent(in) :: notdummy
! expect: error: optional attributed entity should be dummy argument
  real, optional :: notdummy2
! expect: error: deferred shape array entity should be allocatable, or pointer
  real :: a(:)
! expect: error: automatic object entity should not be save attributed
  real, save :: auto(n)
! expect: error: equivalence entity should not be pointer
  real, pointer :: p
! expect: error: equivalence entity should not be allocatable
  real, allocatable :: al(:)
! expect: error: equivalence entity should not be parameter
  integer, parameter :: k = 1
! expect: error: equivalence entity should not be automatic object
  real :: aut2(n)
  equivalence (d, x1), (p, x2), (al, x3), (k, x4), (aut2, x5)
  real, pointer :: q
! expect: error: pointer entity should not be target
  target :: q
  real :: r
  target :: r
! expect: error: pointer entity should not be target
  pointer :: r
  x1 = 0; x2 = 0; x3 = 0; x5 = 0; a = 0; auto = 0; notdummy2 = 0
  print *, x4, notdummy, q, r, p, al, aut2
end subroutine s
