program p
include 'y.h'
end program p
