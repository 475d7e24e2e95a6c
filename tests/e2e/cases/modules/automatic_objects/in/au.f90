subroutine s(n)
integer n
character(len=n) loc
real arr(2)
loc = " "
arr(1) = 1.0
end subroutine s
