program p
include 'nothere.h'
end program p
