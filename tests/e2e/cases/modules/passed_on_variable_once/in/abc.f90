module ma
integer :: x = 1
end module ma
module mb
use ma
end module mb
module mc
use ma
use mb, only: y => x
end module mc
