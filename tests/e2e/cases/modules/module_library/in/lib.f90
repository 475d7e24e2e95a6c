module kinds
integer, parameter :: wp = kind(1.0d0)
end module kinds
module nodes
use kinds
private
public :: node, push, operator(.join.), assignment(=)
type node
  real(wp) value
  type(node), pointer :: next
end type node
interface push
  module procedure push_node
end interface
interface operator(.join.)
  module procedure join
end interface
interface assignment(=)
  module procedure set_value
end interface
contains
subroutine push_node(head, n)
type(node), pointer :: head, n
n%next => head
head => n
end subroutine push_node
real(wp) function join(a, b)
type(node), intent(in) :: a, b
join = a%value + b%value
end function join
subroutine set_value(a, x)
type(node), intent(out) :: a
real(wp), intent(in) :: x
a%value = x
nullify(a%next)
end subroutine set_value
end module nodes
module stats
use kinds, only: dp => wp
use nodes, only: node
contains
real(dp) function first(head)
type(node), pointer :: head
first = head%value
end function first
end module stats
program demo
use kinds
use nodes
use stats
type(node), pointer :: list, n
type(node) a
nullify(list)
allocate(n)
a = 1.5_wp
call push(list, n)
print *, first(list), a .join. a
end program demo
