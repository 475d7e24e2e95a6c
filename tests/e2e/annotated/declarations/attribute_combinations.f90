! Valid declarations with many combinations of attributes: the check of
! each unit's entities after it has been read reports nothing.
block data bd
  common /b/ x, y(3)
  integer x
  real y
  data x /1/, y /3*2.0/
end block data bd
subroutine s1(x, y, z, w, opt, f, c, asz)
  implicit none
  integer, parameter :: n = 5
  real, intent(in) :: x(:)
  real, intent(out) :: y(n)
  real, pointer :: z(:)
  real, pointer :: w(:)
  real, optional, intent(in) :: opt
  external f
  character(len=*), intent(in) :: c
  real :: asz(*)
  real :: loc(size(x)), auto2(n)
  character(len=len(c)) :: cc
  real, save :: keep = 1.0
  real, allocatable, save :: a(:)
  real, target :: t(10)
  character(len=*), parameter :: msg = 'hello'
  real, dimension(n) :: v = 0.0
  type pt
    real, pointer :: q(:)
    integer :: k(3)
  end type pt
  type(pt) :: one
  integer :: i
  y = t(1); cc = c; loc = x; auto2 = v
  allocate (w(3), a(2))
  if (present(opt)) y(1) = opt
  call f(asz(1), z, one, msg); keep = keep + 1; i = 1
end subroutine s1
function g(k) result(r)
  integer, intent(in) :: k
  real, pointer :: r(:)
  allocate (r(k))
end function g
subroutine old(a, n, b, f)
  integer n
  real a(n, *), b(n)
  double precision d1, d2(2)
  equivalence (d1, d2(1))
  common /blk/ c1, c2
  character*8 c1
  real c2(10)
  save /blk2/
  common /blk2/ e1
  external f
  real f
  dimension w(10)
  save w
  data w /10*0.0/
  b(1) = a(1,1) + f(d1) + c2(1) + e1 + w(1)
  print *, c1, d2
end subroutine old
function fun(x)
  real fun, x
  save
  integer cnt
  data cnt /0/
  cnt = cnt + 1
  fun = x
  return
entry ent(x)
  ent = 2*x
end function fun
program main
  implicit none
  integer, parameter :: k = 3
  real :: arr(k), b2(2)
  real, allocatable :: d(:,:)
  character(len=4) :: cs
  equivalence (arr(1), b2(1))
  allocate (d(2,2))
  cs = 'ab'; arr = 1.0
  print *, arr, cs, d, b2
end program main
