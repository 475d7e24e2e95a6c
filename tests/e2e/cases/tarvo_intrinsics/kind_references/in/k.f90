program p
implicit none
real, parameter :: pi = 4.0 * atan(1.0)
real, parameter :: q = atan2(1.0, pi) + abs(pi)
real(selected_real_kind(6)) :: y
real(kind(1.0d0)) :: z
y = pi
z = q
print *, y, z
end
