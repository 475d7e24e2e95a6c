program p
  real, pointer, allocatable :: x(:)
end program p
