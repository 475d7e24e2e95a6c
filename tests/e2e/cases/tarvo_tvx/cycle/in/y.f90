module my
use mx
end module my
