module lb
use la, only: s
end module lb
module lc
use la
private
public :: s
end module lc
