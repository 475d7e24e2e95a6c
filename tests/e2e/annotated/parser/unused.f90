! args: -r
! expect: remark: dummy argument "B" declared and never referenced
subroutine s(a, b)
a = 1
! expect: remark: label "10" defined and never referenced
10 continue
20 continue
go to 20
end subroutine s
function f(x)
f = x
! expect: remark: dummy argument "Y" declared and never referenced
! expect: warning: result variable "W" never referenced
entry g(y) result(w)
end function f
program main
call s(1.0, 2.0)
contains
! expect: remark: routine "INNER" declared and never referenced
subroutine inner
end subroutine inner
end program main
module m
contains
subroutine exported
end subroutine exported
! A clean compilation writes the module's file, which needs a -M directory.
! status: 4
! expect: catastrophic error: no -M optional argument to set a module search path
end module m
