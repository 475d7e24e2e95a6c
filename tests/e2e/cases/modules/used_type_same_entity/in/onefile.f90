module a1
type t
  integer i
end type t
contains
subroutine show(x)
type(t), intent(in) :: x
print *, x%i
end subroutine show
function mk(i)
integer, intent(in) :: i
type(t) mk
mk%i = i
end function mk
end module a1
program p1
use a1
type(t) y
y = mk(3)
call show(y)
end program p1
