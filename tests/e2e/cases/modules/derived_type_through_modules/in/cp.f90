module c
use a
end module c
program p
use b
use c
v%i = kb
end program p
