program p
integer :: is, x
real :: r
allocate (x)
allocate (x(10), stat=is)
allocate (p)
allocate x
allocate (x, stat=r)
allocate (x, stat=is, x)
allocate (x
deallocate (x, stat=is)
nullify (x, p)
nullify (x
end program p
