module a
type t
  integer i
end type t
type(t) :: v
end module a
module b
use a
integer :: kb
end module b
