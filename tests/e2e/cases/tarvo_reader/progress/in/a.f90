program a
end program a
