subroutine a(x)
real x
if (x > 0) then
x = 1
end
subroutine b(y)
real y
if (y > 0) then
y = 2
end if
y = 3
end
