program q
use nowhere
end program q
