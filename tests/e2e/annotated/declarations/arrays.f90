! Array specifications: shape codes, rank limit and the place of an
! assumed-size dimension.
subroutine arrays(a, b, c, d, e, f, g, h)
! expect: error: assumed-size dimension must be last -- extras ignored
  real :: a(2,*,3)
  real :: b(1:,:), c(:,1:)
! expect: error: incompatible array shape specifier
  real :: d(10,:)
! expect: error: maximum rank is seven
  real :: e(1,1,1,1,1,1,1,1)
  real :: f(:,:), g(0:*), h(2:5, -1:1)
  call use_all(a, b, c, d, e, f, g, h)
end subroutine arrays
subroutine shapes(n, x, y, z)
  integer :: n
  dimension x(n, *), y(n)
  real, dimension(n) :: z
! expect: error: expected a "("
  dimension :: w
  call use_all(x, y, z, w)
end subroutine shapes
subroutine commons
! expect: error: explicit shape specification required
! expect: error: deferred shape array entity should be allocatable, or pointer
  common /blk/ a(:)
! expect: error: explicit shape specification required
! expect: error: common block associated entity should not be assumed size array
  common /blk2/ b(*)
  common /blk3/ c(2, 3)
  call use_all(a, b, c)
end subroutine commons
