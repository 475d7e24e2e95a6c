subroutine s(n)
integer n
include 'body.inc'
n = 3
end
