program p
x = 1; include 'a.h'
include a
include 'a.h' x
include 'a.h'; y = 2147483648
10 include 'a.h'
include $
end program p
