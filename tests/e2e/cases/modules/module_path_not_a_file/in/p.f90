program p
use m
end program p
