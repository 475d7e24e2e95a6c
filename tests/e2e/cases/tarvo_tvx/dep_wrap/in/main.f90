program main
use ma
use mb
use mc
use ma
end program main
