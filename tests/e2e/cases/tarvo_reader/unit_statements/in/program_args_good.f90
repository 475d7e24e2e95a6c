program p(a, b)
end program p
