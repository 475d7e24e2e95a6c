! An element of an array of the module or of the host assigned in a
! procedure's specification part ends it: no statement function is made.
module m
  real :: v(10)
contains
  subroutine s(k)
    integer k
    v(k) = 1.0
  end subroutine s
end module m

subroutine outer
  integer w(3)
  w = 0
  call inner(2)
contains
  subroutine inner(i)
    integer i
    w(i) = 5
  end subroutine inner
end subroutine outer

! A name that is no array of the host still makes a statement function.
function twice(x)
  real twice, x, f, y
  f(y) = 2.0 * y
  twice = f(x)
end function twice
