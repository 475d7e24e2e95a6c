program p
i = 2147483648
include 'nothere.h'
end program p
