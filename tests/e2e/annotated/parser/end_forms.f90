! status: 2
subroutine s
! expect: error: END statement does not correspond to the kind of the program unit or internal procedure
end function s
subroutine t
! expect: error: END name does not match name of the corresponding program unit or internal procedure T
end subroutine u
module m
contains
subroutine q
! expect: error: END statement is not allowed here. Use END SUBROUTINE or END FUNCTION in internal or module procedures
end
end module m
program main
call r
contains
subroutine r
end subroutine r
end program main
subroutine z
! expect: error: extra text after expected end of statement
end subroutine z; x = 1
