program a
use mc
end program a
