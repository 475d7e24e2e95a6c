module mb
  integer :: j
end module mb
