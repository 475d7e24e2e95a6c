! Functions whose type stands before FUNCTION and that have no RESULT:
! assignments to the name, to its components and to its substrings set
! the result and read the dummy arguments.
module prefixed_results
  implicit none
  type point
     real :: x = 0.0, y = 0.0
  end type point
contains
  type(point) function midpoint(a, b)
    type(point), intent(in) :: a, b
    midpoint%x = 0.5 * (a%x + b%x)
    midpoint%y = 0.5 * (a%y + b%y)
  end function midpoint

  type(point) function scaled(p, s)
    type(point), intent(in) :: p
    real, intent(in) :: s
    scaled = point(s * p%x, s * p%y)
  end function scaled

  character(len=8) function label(k)
    integer, intent(in) :: k
    label = 'point'
    label(7:8) = achar(48 + mod(k, 10)) // '.'
  end function label
end module prefixed_results

program use_points
  use prefixed_results
  implicit none
  type(point) :: p, q
  p = point(1.0, 2.0)
  q = flip(midpoint(p, scaled(p, 3.0)))
  print *, q, label(4)
contains
  type(point) function flip(a)
    type(point), intent(in) :: a
    flip%x = a%y
    flip%y = a%x
  end function flip
end program use_points
