! status: 2
x = 1
end
! expect: error: PROGRAM implied, but main program has already been declared
y = 2
end
! expect: error: main program has already been declared
program q
end program q
