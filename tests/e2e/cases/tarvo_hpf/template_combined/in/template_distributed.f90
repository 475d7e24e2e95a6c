! Templates distributed in the directive that declares them, with a
! shape given after the name or by DIMENSION before or after DISTRIBUTE;
! arrays aligned with them.
program template_distributed
  implicit none
  integer, parameter :: n = 16
  real :: u(n, n), f(n, n), v(n)
!HPF$ PROCESSORS p(2, 2), q(4)
!HPF$ TEMPLATE, DISTRIBUTE(BLOCK, CYCLIC(2)) ONTO p :: t(n, n)
!HPF$ TEMPLATE, DISTRIBUTE(CYCLIC) ONTO q, DIMENSION(n) :: line
!HPF$ TEMPLATE, DIMENSION(n, n), DISTRIBUTE(BLOCK, BLOCK) :: grid
!HPF$ ALIGN (:, :) WITH t(:, :) :: u
!HPF$ ALIGN f(:, :) WITH grid(:, :)
!HPF$ ALIGN v(:) WITH line(:)
  u = 1.0
  f = 2.0
  v = sum(u + f, dim=2)
  print *, v
end program template_distributed
