program p
include 'i1.h'
i = 2147483648
end program p
