program p
include 'x.h'
end program p
