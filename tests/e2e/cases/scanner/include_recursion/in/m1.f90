program p
include 'a.h'
end program p
