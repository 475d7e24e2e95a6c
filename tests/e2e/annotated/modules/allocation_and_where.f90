! status: 2
subroutine w(a, b, m, k)
real a(10), b(10)
logical m(10)
integer k
real, pointer :: p
real, target :: t
real, allocatable :: z(:)
integer, allocatable :: n(:)
real x
where (m)
  a = b
! expect: error: intrinsic array assignments are allowed only
  p => t
end where
! expect: error: must be logical array expression
where (k)
  a = b
end where
allocate (z(k), stat=k)
! expect: error: must be a pointer or allocatable array
allocate (x)
! expect: error: bound expression should not involve any allocated object
allocate (n(4), z(n(1)))
! expect: error: stat-variable should not be allocated or deallocated
allocate (n(2), stat=n(1))
! expect: error: must be a pointer or allocatable array
deallocate (x)
! expect: error: must be a pointer
nullify (x)
end subroutine w
