! EOSHIFT of a derived-type array needs its BOUNDARY.
program shifts
  implicit none
  type pair
    integer :: a, b
  end type pair
  type(pair) :: p(4), q(4)
! expect: error: expected obligatory argument
  q = eoshift(p, 1)
  q = eoshift(p, 1, pair(0, 0))
  print *, q(1)%a
end program shifts
