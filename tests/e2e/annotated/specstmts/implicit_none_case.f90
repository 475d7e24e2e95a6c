! args: -U
program p
implicit none
! expect: warning: variable "abc" declared and never referenced
integer :: abc
! expect: error: identifier "ABC" has not been explicitly typed
ABC = 1
end program p
! status: 2
