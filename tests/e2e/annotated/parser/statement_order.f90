! status: 2
program p
implicit none
! expect: error: statement out of order -- ignored
use m
end program p

subroutine s
implicit real (a-h)
! expect: error: statement out of order -- ignored
implicit none
parameter (n = 1)
implicit integer (i)
parameter (m = 2)
real y
x = 1
! expect: warning: variable "Z" declared and never referenced
data z /1.0/
10 format (i5)
y = 2
! expect: error: statement out of order -- ignored
real w
end subroutine s

subroutine t(v)
interface
  subroutine u(x)
    real x
  end subroutine u
end interface
real v
v = 1
end subroutine t

function f()
f = 1
! expect: error: expected a label
format (i5)
entry g()
g = 2
end function f
