module kinds
integer, parameter :: wp = kind(1.0d0)
end module kinds
module nodes
use kinds
private
public :: node, push, size_of, operator(.join.), assignment(=)
type node
  real(wp) value
  type(node), pointer :: next
end type node
interface push
  module procedure push_real, push_int
end interface
interface operator(.join.)
  module procedure join
end interface
interface assignment(=)
  module procedure set_value
end interface
integer :: hidden_count = 0
contains
subroutine push_real(head, x)
type(node), pointer :: head
real(wp), intent(in) :: x
type(node), pointer :: n
allocate(n)
n%value = x
n%next => head
head => n
hidden_count = hidden_count + 1
end subroutine push_real
subroutine push_int(head, i)
type(node), pointer :: head
integer, intent(in) :: i
call push_real(head, real(i, wp))
end subroutine push_int
integer function size_of(head)
type(node), pointer :: head
type(node), pointer :: p
size_of = 0
p => head
do while (associated(p))
  size_of = size_of + 1
  p => p%next
end do
end function size_of
function join(a, b)
type(node), intent(in) :: a, b
real(wp) join
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
use kinds, only: wp
use nodes, only: node, count => size_of
implicit none
contains
real(wp) function mean(head)
type(node), pointer :: head
type(node), pointer :: p
real(wp) total
total = 0
p => head
do while (associated(p))
  total = total + p%value
  p => p%next
end do
mean = total / max(1, count(head))
end function mean
end module stats
program demo
use kinds
use nodes
use stats
implicit none
type(node), pointer :: list
type(node) a, b
nullify(list)
call push(list, 1.5_wp)
call push(list, 2)
a = 1.0_wp
b = 2.0_wp
print *, size_of(list), mean(list), a .join. b
end program demo
