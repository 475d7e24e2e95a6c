program user
use top
call sb
call st
end program user
