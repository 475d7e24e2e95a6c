program p
use b
call sb
call sa
kb = ka
end program p
