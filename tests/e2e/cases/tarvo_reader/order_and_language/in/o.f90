program p
x = 1
integer :: k
end program p
