module mc
use mb
end module mc
