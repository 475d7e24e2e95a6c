program p
use m
use m, t => s
call s
call t
k = 1
end program p
