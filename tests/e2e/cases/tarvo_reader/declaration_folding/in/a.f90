program p
integer n
parameter (n = 2**3**2)
real :: x(n/512 + 1)
integer, parameter :: i1 = 1/(n - 512)
integer, parameter :: i2 = 1/(n - 64)
integer, parameter :: i3 = 1/(8/2/2 - 2)
logical, parameter :: t = .not. .true. .or. 1 < 2
integer, parameter :: i4 = 1/(-2**2 + 4)
integer, parameter :: i5 = 1/(7/2 - 3)
integer, parameter :: i6 = 1/(2**(-1))
end
