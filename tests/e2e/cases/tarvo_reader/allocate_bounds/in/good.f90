program p
  real, allocatable :: a(:), b(:,:)
  real, pointer :: q(:)
  integer :: n, is
  n = 3
  allocate (a(n), b(n, 2*n), stat=is)
  allocate (q(0:n+1))
  deallocate (a, b, q)
end program p
