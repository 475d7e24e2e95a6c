program p
implicit none
use m
end program p
