program diamond
use b
use c
vb = mk(1)
call take(vb)
call show(vb)
end program diamond
