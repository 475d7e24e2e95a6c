program p
include ''
end program p
