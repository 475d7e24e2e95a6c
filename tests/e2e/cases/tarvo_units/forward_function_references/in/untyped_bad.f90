program tally
  implicit none
  real :: x
  x = helper(1.0) + scaled(2.0)
  k = 3
  print *, x
contains
  real function scaled(y)
    real, intent(in) :: y
    scaled = y * factor(y)
  end function scaled
end program tally
module pieces
  implicit none
contains
  integer function whole(k)
    integer, intent(in) :: k
    whole = part(k) + missing(k)
  end function whole
  integer function part(k)
    integer, intent(in) :: k
    part = k
  end function part
end module pieces
