program p
10 format (a)
use m
x = 1
namelist /g/ x
20 format (i3)
integer :: k
end program p
