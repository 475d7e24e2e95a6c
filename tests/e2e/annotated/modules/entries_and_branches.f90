! status: 2
! expect: error: entries of the function "F" are not equivalenceable
function f(k)
integer k
character(len=4) f
real g
! expect: warning: result variable "G" never referenced
entry g(k)
f = 'a'
end function f

subroutine t(x, l, k)
real x
logical l
integer k
! expect: warning: obsolescent statement
! expect: error: expression must be of type integer, or real
if (l) 10, 20, 30
10 continue
20 continue
30 continue
! expect: error: expression must be of type integer
go to (10, 20), x
! expect: error: expression must have integer, character, or logical type
select case (x)
end select
! expect: warning: obsolescent statement
assign 10 to k
! expect: warning: obsolescent statement
go to k
end subroutine t
