program p
x==1
end program p
