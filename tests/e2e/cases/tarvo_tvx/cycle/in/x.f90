module mx
use my
end module mx
