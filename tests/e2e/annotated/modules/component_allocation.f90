! status: 2
module shapes
type grid
  integer rows, cols, ierr
  real, pointer :: a(:,:)
  real, pointer :: b(:)
  integer, pointer :: codes(:)
end type grid
type holder
  type(grid) g
  integer n
end type holder
interface size
  module procedure grid_size
end interface
contains
integer function grid_size(g)
type(grid), intent(in) :: g
grid_size = g%rows * g%cols
end function grid_size
function make(r, c) result(z)
integer, intent(in) :: r, c
type(grid) :: z
z%rows = r
z%cols = c
allocate (z%a(z%rows, z%cols), stat=z%ierr)
allocate (z%b(size(z%a, 1)))
end function make
subroutine nested(h, x)
type(holder) h
type(grid) x
real, pointer :: p(:)
allocate (h%g%b(h%n + h%g%rows), p(x%cols))
! expect: error: bound expression should not involve any allocated object
allocate (x%b(size(x)))
! expect: error: bound expression should not involve any allocated object
allocate (h%g%a(2, 2), x%b(size(h%g%a)))
! expect: error: bound expression should not involve any allocated object
allocate (x%b(4), p(size(x%b)))
! expect: error: bound expression should not involve any allocated object
allocate (h%g%b(grid_size(h%g)))
! expect: error: stat-variable should not be allocated or deallocated
allocate (x%codes(2), stat=x%codes(1))
allocate (p(3), x%codes(3), stat=h%g%ierr)
end subroutine nested
end module shapes
