program p
use a
type(t) y
y = mk(3)
call show(y)
end program p
