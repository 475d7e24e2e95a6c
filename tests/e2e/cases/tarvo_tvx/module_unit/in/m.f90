module m
contains
subroutine s
return
end subroutine s
end module m
