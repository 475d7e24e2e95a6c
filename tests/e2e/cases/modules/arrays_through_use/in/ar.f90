module ar
integer, parameter :: n = 3
real :: arr(n)
character(len=n) :: c
end module ar
