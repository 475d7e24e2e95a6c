! status: 2
! A function whose result type comes later, from USE in the function or from
! a definition in it; a type that never comes is reported once.
! expect: error: undefined derived type
type(nodef) function mk2(i)
integer i
mk2 = i
end function mk2
module base3
type bt
  integer i
end type bt
contains
type(bt) function inmod(i)
integer i
inmod%i = i
end function inmod
end module base3
type(bt) function mk3(i)
use base3
integer i
mk3%i = i
end function mk3
type(bt) function mk4(i)
use base3, only: bt
integer i
type(bt) local
local%i = i
mk4 = local
end function mk4
type(ct) function mk5(i)
integer i
type ct
  integer j
end type ct
mk5%j = i
end function mk5
module base4
type bt
  integer i
end type bt
end module base4
type(bt) function mk6(i)
use base4, only: bt
integer i
mk6%i = i
end function mk6
