program p
go to 10
! expect: warning: statement is unreachable
x = 1
y = 2
10 continue
stop
! expect: warning: statement is unreachable
print *, x, y
20 z = 3
call s(z)
end program p
subroutine s(a)
a = 1
return
! expect: warning: statement is unreachable
a = 2
end subroutine s
