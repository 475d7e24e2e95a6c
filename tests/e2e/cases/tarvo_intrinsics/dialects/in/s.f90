program p
implicit none
real x
x = sind(30.0)
print *, x
end
