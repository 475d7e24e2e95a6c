program p
use m, only: one
call one
end program p
