! status: 2
integer(kind=2) function f(x) result(r)
r = x
end function f
character*(*) function g(y)
! expect: error: invalid argument for the assignment
g = y
end function g
double precision recursive function h(n)
h = n
end function h
! expect: error: attribute specifier appears repeatedly
recursive recursive subroutine s
end subroutine s
! expect: error: expected a "("
function k
end function k
! expect: error: result-name must not be the same as entry-name
function e(x) result(e)
end function e
! expect: error: expected FUNCTION keyword
recursive real subroutine t
end
integer*4 function u()
u = 1
end function u
! expect: error: kind value does not specify a representation method
integer*3 function v()
v = 1
end function v
subroutine w
x = 1
! expect: error: prior use is inconsistent with specification as a dummy argument
entry w2(x)
end subroutine w
module hm
real hx
contains
subroutine hs
y = hx
! expect: error: invalid redeclaration of a host symbol "HX"
entry he(hx)
end subroutine hs
end module hm
