program p
  stop
end program p
