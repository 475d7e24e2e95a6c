program p
include 'b.h'
end program p
