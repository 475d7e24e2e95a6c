subroutine s
end function s
subroutine t
end subroutine u
module m
contains
subroutine q
end
end module m
