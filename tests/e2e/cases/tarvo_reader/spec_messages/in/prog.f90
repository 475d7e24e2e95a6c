program p
implicit none
implicit real (a-h)
save
save
save :: c, c
equivalence a, b
end program p
