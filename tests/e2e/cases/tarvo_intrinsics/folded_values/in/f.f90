program p
implicit none
integer, parameter :: k = selected_real_kind(6)
real(kind=k) :: x
integer, parameter :: n = int(2.5) + max(1, 2)
integer :: v(max(2, 3))
integer, parameter :: a = iand(12, 10)
integer, parameter :: b = 1/(a-8)
integer, parameter :: c = 1/(nint(-2.5)+3)
integer, parameter :: e = 1/(mod(-7, 3)+1)
x = n
v = 0
print *, x, v, b, c, e
end
