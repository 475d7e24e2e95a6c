subroutine s(c, n)
integer n
character(len=n) c
real a(n)
a(1) = 1.0
c = ' '
end subroutine s
