! args: -U
program p
implicit none
integer :: abc
! expect: error: identifier "ABC" has not been explicitly typed
ABC = 1
end program p
! status: 2
