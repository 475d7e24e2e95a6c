! status: 2
module shapes
type pt
  real x, y
end type pt
interface operator(+)
  module procedure addp
end interface
interface operator(*)
  module procedure scalep
end interface
interface operator(//)
  module procedure joinp
end interface
interface operator(==)
  module procedure samep
end interface
interface operator(.dot.)
  module procedure dotp
end interface
interface assignment(=)
  module procedure fromreal
end interface
interface assignment(=)
  module procedure badassign, badfirst
end interface
interface operator(.bad.)
  module procedure badsecond
end interface
contains
function addp(a, b)
type(pt), intent(in) :: a, b
type(pt) addp
addp%x = a%x + b%x
addp%y = a%y + b%y
end function addp
function scalep(s, a)
real, intent(in) :: s
type(pt), intent(in) :: a
type(pt) scalep
scalep%x = s * a%x
scalep%y = s * a%y
end function scalep
function joinp(a, b)
type(pt), intent(in) :: a, b
real joinp(4)
joinp = (/ a%x, a%y, b%x, b%y /)
end function joinp
logical function samep(a, b)
type(pt), intent(in) :: a, b
samep = a%x == b%x .and. a%y == b%y
end function samep
function dotp(a, b)
type(pt), intent(in) :: a, b
real dotp
dotp = a%x * b%x + a%y * b%y
end function dotp
subroutine fromreal(a, r)
type(pt), intent(out) :: a
real, intent(in) :: r
a%x = r
a%y = r
end subroutine fromreal
! expect: error: defined assignment procedure must be subroutine
! expect: error: nonoptional INTENT(OUT) or INTENT(INOUT) argument required
function badassign(a, i)
type(pt), intent(in) :: a
integer, intent(in) :: i
integer badassign
badassign = i
end function badassign
! expect: error: nonoptional INTENT(OUT) or INTENT(INOUT) argument required
subroutine badfirst(a, c)
type(pt), intent(in) :: a
character(len=*), intent(in) :: c
end subroutine badfirst
! expect: error: nonoptional INTENT(IN) argument required
function badsecond(a, b)
type(pt), intent(in) :: a
type(pt), intent(inout) :: b
real badsecond
badsecond = a%x + b%x
end function badsecond
end module shapes
program geometry
use shapes
type(pt) u, v, w
real d, j(4)
u = 1.0
v = pt(1.0, 2.0)
w = u + v
w = 2.0 * w
j = u // v
d = u .dot. v
if (u == v) print *, d, j, w%x
end program geometry
