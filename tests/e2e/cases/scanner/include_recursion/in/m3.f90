program p
include 'c.h'
end program p
