program main
integer :: i, x
x = 0
do i = 1, 3
  x = x + i
end do
if (x > 2) then
  x = 1
else if (x < 0) then
  x = 2
else
  x = 3
end if
if (x == 1) return
end program main
subroutine s(n)
integer n
do 10 i = 1, n
do 10 j = 1, n
n = n + 1
10 continue
return
end
