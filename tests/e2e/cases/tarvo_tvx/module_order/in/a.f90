program main
use mb
x = 1
end program main
