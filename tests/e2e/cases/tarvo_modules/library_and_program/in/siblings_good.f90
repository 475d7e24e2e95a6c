module steps
  implicit none
  type pt
    real :: x, y
  end type pt
contains
  function origin() result(o)
    type(pt) :: o
    o = pt(0.0, 0.0)
  end function origin
  real function dist(a, b)
    type(pt), intent(in) :: a, b
    dist = sqrt((a%x - b%x)**2 + (a%y - b%y)**2)
  end function dist
  real function reach(a)
    type(pt), intent(in) :: a
    reach = dist(a, origin())
  end function reach
end module steps
program walk
  use steps
  implicit none
  type(pt) :: q
  q = pt(3.0, 4.0)
  print *, reach(q)
end program walk
