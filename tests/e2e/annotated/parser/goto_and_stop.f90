! status: 2
program p
i = 1
! expect: error: expected a label
go to (), i
go to (10, 20, 10), i
! expect: warning: more than 5 digits in STOP or PAUSE is not standard
stop 123456
10 stop 12345
20 stop 'done'
! expect: error: statement not allowed in PROGRAM subprograms
return
end program p
function f(x)
f = x
! expect: error: alternate RETURN is only allowed in a SUBROUTINE
return 1
end function f
subroutine s(*, *)
! expect: warning: obsolescent statement
return 2
end subroutine s
subroutine u
! expect: error: unrecognized statement
30 contine x
! expect: error: extra text after expected end of statement
go to 30 x
end subroutine u
