! status: 2
module counts
type bag
  integer n
  real, pointer :: items(:)
end type bag
interface size
  module procedure bag_size
end interface
interface len
  module procedure bag_len
end interface
contains
integer function bag_size(b)
type(bag), intent(in) :: b
bag_size = b%n
end function bag_size
integer function bag_len(b, scale)
type(bag), intent(in) :: b
integer, intent(in) :: scale
bag_len = b%n * scale
end function bag_len
end module counts
subroutine user(b, x, s)
use counts
type(bag) b
real x(10)
character(len=*) s
integer k(5)
k(1) = size(b)
k(2) = size(x) + size(b%items, 1)
k(3) = len(b, 2) + len(s)
! expect: error: expected an array valued expression
k(4) = size(k) + size(b, 1)
k(5) = len(b, scale=3)
end subroutine user
