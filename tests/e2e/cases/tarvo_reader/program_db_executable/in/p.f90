subroutine sub
end
program main
10 continue
call sub
go to 10
go to 20
20 if (.true.) stop
call exit
stop
end program main
