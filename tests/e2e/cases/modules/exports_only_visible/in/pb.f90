program pb
use lb
implicit none
secret_of_a = 1
end program pb
