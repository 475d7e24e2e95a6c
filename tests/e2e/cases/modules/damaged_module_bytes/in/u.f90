program u
use m
type(t) q
call s(q)
print *, q%i, k
end program u
