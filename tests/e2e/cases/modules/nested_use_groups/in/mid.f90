module mid
use base
end module mid
