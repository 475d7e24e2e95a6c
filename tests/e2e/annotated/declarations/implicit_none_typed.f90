! args: -U
! With case-sensitive names, ABC is not the declared abc.
program typed
implicit none
integer :: abc
! expect: error: identifier "ABC" has not been explicitly typed
ABC = 1
abc = 2
end program typed
! status: 2
