! status: 2
module ops
type v
  integer i
end type v
interface operator(+)
  module procedure addv, addw
end interface
interface operator(*)
  module procedure mul3, mul2, mul2b
end interface
contains
! expect: error: defined operation procedure must be function
subroutine addv(a, b)
type(v), intent(in) :: a, b
end subroutine addv
function addw(a, n)
type(v), intent(in) :: a
integer, intent(in) :: n
type(v) addw
addw = a
end function addw
! expect: error: incorrect number of arguments
function mul3(a, b, c)
type(v), intent(in) :: a, b, c
type(v) mul3
mul3 = a
end function mul3
! expect: error: the procedure violates rules of unambiguous generic procedure references
function mul2(a, b)
type(v), intent(in) :: a, b
type(v) mul2
mul2 = a
end function mul2
! expect: error: the procedure violates rules of unambiguous generic procedure references
function mul2b(a, b)
type(v), intent(in) :: a, b
type(v) mul2b
mul2b = a
end function mul2b
end module ops
