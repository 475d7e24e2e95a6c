program p
use ar
arr(2) = 1.0
c = "ab"
print *, arr(n), size(arr)
end program p
