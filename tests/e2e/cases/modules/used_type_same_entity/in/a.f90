module a
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
end module a
