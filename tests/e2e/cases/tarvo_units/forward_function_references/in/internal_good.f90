program areas
  implicit none
  real :: r
  character(len=6) :: tag
  r = circle(2.0)
  tag = kind_of(r)
  if (big(r)) print *, tag, r
contains
  real function circle(x)
    real, intent(in) :: x
    circle = 3.14159 * square(x)
  end function circle
  real function square(x)
    real, intent(in) :: x
    square = x * x
  end function square
  character(len=6) function kind_of(x)
    real, intent(in) :: x
    kind_of = 'small'
    if (big(x)) kind_of = 'large'
  end function kind_of
  logical function big(x)
    real, intent(in) :: x
    big = x > 10.0
  end function big
end program areas
