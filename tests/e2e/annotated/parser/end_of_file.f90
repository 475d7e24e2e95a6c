! status: 2
program p
x = 1
! expect: error: unexpected end of file
