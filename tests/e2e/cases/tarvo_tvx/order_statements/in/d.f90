module md
  integer :: n
end module md
