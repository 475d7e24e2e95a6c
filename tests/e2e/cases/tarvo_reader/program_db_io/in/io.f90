program io
integer :: n
read (5, *) n
write (6, *) n
end program io
