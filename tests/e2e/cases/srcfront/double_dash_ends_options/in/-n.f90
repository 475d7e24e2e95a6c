program ok
end program ok
