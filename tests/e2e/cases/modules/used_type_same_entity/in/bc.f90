module b
use a
type(t) vb
end module b
module c
use a
contains
subroutine take(x)
type(t), intent(in) :: x
call show(x)
end subroutine take
end module c
