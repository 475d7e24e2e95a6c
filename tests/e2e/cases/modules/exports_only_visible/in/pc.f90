program pc
use lc
implicit none
type(t) v
end program pc
