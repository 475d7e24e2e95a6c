module base
contains
subroutine sb
end subroutine sb
end module base
module mid
use base
end module mid
module top
use mid
contains
subroutine st
call sb
end subroutine st
end module top
program user
use top
call sb
call st
end program user
