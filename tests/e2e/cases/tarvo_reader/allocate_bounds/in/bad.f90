program p
  real, allocatable :: a(:), b(:,:)
  integer :: n
  n = 3
  allocate (a(n, n))
  allocate (b(5))
  allocate (a(:))
  allocate (b(2:, 3))
end program p
