module top
use mid
contains
subroutine st
call sb
end subroutine st
end module top
