! A small heat-flow program mapped onto four processors: every mapping
! directive, an INDEPENDENT loop, FORALL in both forms and an HPF_LOCAL
! procedure.
program heat
  implicit none
  integer, parameter :: n = 100
  real :: u(n), v(n), w(n), q(n)
  real :: grid(n, n), rows(n, 4)
  real :: work(n)
  integer :: i, j, k
!HPF$ PROCESSORS procs(4)
!HPF$ PROCESSORS :: mesh(2, 2)
!HPF$ TEMPLATE t(n)
!HPF$ TEMPLATE, DIMENSION(n, n) :: plane
!HPF$ DISTRIBUTE t(BLOCK) ONTO procs
!HPF$ DISTRIBUTE plane(BLOCK, CYCLIC(2)) ONTO mesh
!HPF$ DISTRIBUTE (CYCLIC, *) ONTO procs :: grid
!HPF$ DISTRIBUTE (B), DYNAMIC :: work
!HPF$ ALIGN u(:) WITH t(:)
!HPF$ ALIGN (k) WITH t(k) :: v
!HPF$ ALIGN w(:) WITH t(1:n)
!HPF$ ALIGN (:, *) WITH t(:) :: rows
!HPF$ DYNAMIC q
!HPF$ ALIGN q(:) WITH t(:)
!HPF$ SEQUENCE
  u = 0.0
  v = 1.0
  w = 2.0
  q = 3.0
  grid = 1.0
  rows = 0.0
  work = 0.0
!HPF$ INDEPENDENT
  do i = 1, n
    u(i) = v(i) + w(i)
  end do
!HPF$ INDEPENDENT, NEW (j)
  do i = 1, n
    do j = 1, 4
      rows(i, j) = u(i)
    end do
  end do
  forall (i = 2:n-1) u(i) = 0.5 * (v(i-1) + v(i+1))
  forall (i = 1:n, j = 1:n, grid(i, j) > 0.0)
    grid(i, j) = 1.0 / grid(i, j)
  end forall
!HPF$ REDISTRIBUTE work(CYCLIC)
!HPF$ REALIGN q(:) WITH t(:)
  call smooth(u, n)
  print *, u(1), grid(1, 1), work(1), q(1)
end program heat

subroutine smooth(x, m)
  implicit none
  integer, intent(in) :: m
  real, intent(inout) :: x(m)
!HPF$ INHERIT x
  x = 0.5 * x
end subroutine smooth

extrinsic(hpf_local) subroutine local_scale(y)
  implicit none
  real, intent(inout) :: y(:)
!HPF$ NOSEQUENCE y
  y = 2.0 * y
end subroutine local_scale
