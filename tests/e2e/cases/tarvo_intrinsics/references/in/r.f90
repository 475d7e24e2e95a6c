program p
implicit none
real x
integer i
double precision d
character*6 cd
complex cv(3), cw(3), cr
x = sqrt(4)
i = mod(7)
i = mod(a=7, q=2)
d = 1
d = abs(d)
x = abs('abc')
call date_and_time(date=cd)
cv = 0
cw = 0
cr = dot_product(cv, cw)
print *, x, i, d, cr
end
