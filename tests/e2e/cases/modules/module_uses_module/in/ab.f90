module a
integer :: ka
contains
subroutine sa
end subroutine sa
end module a
module b
use a
integer :: kb
contains
subroutine sb
call sa
end subroutine sb
end module b
