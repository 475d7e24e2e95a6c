module m
type t
  integer i
end type t
integer k
contains
subroutine s(x)
type(t), intent(inout) :: x
x%i = k
end subroutine s
end module m
