program p
end program p