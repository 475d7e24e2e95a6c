program p
include 'a.h'
include 'b.h'
include 'c.h'
end program p
