module settings
  implicit none
  integer, save :: nx
  integer, save, private :: calls, limit
  real, save, public :: scale
contains
  subroutine init(m)
    integer, intent(in) :: m
    nx = m
    scale = 2.0
    calls = 1
    if (limit > m) nx = limit
  end subroutine init
end module settings
program p
  use settings
  implicit none
  call init(3)
  print *, nx, scale
end program p
