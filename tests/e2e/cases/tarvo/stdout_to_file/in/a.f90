program hello
  print *, "hello"
end program hello
