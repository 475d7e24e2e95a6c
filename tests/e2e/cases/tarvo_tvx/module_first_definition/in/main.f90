program p
use m
use nowhere
end program p
