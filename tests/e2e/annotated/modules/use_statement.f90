! status: 2
module m
contains
subroutine s
end subroutine s
subroutine u
end subroutine u
end module m

program p
! expect: error: cannot find symbol in module "M"
use m, a => nothere
use m, only:
use m, only: s, v => u
! expect: error: expected a "=>"
use m, b u
! expect: error: expected an identifier
use m, only: 7
call s
call v
end program p

subroutine q(s)
! expect: error: name clash between dummy argument "S" and symbol from USE "M"
use m, only: s
end subroutine q

subroutine r(m)
! expect: error: module name required
use m
end subroutine r
