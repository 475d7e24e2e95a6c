! Keywords are not reserved: each of these statements is an assignment.
program p
end = 1
do = 2
if = 3
real = 4
call = 5
goto = 6
print *, end, do, if, real, call, goto
end program p
