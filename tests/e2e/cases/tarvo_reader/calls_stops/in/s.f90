program p
integer :: k
if (k > 0) stop
stop 'done'
stop 99999
stop k
stop 1.5
pause
call p
call 5
call s(k
call s(k) k
call s
call s(k, (1))
if ((k) > 0) then
continue
end if
end program p
