program p
include 'inc'
end program p
