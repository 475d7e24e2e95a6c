program b
end program b
