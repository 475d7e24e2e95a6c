!=====================================================================================================================================================
! ODESTEP advances the solution of the system y' = f(t, y) by one step of the classical fourth-order Runge-Kutta method.  The right-hand side is an
! EXTERNAL procedure supplied by the caller; this routine hands it to the internal procedure STAGE, which works on the host's dummies directly.
!
!   N      (input)  number of equations
!   T      (input)  the independent variable; H the step size (input)
!   Y      (in/out) the solution at T on entry, at T + H on return
!   RHS    (input)  SUBROUTINE RHS(N, T, Y, DYDT): the right-hand side, passed on to RHSCHK when checking is requested
!   INFO   (output) 0 on success, 1 when the step size is zero
!=====================================================================================================================================================
subroutine odestep(n, t, h, y, rhs, info)
  implicit none
  integer, intent(in) :: n
  real, intent(in) :: t, h
  real, intent(inout) :: y(n)
  external rhs
  integer, intent(out) :: info
  integer, parameter :: namlen = 12
  character*(namlen) :: caller
  integer :: nsteps, lout
  common /odecom/ caller, nsteps, lout
  real :: k1(n), k2(n), k3(n), k4(n)
  real :: tol
  namelist /stepinfo/ tol, info

  info = 0
  tol = 1.0e-6
  if (h == 0.0) then
    info = 1
    write (lout, 100) caller, t, h
    write (lout, stepinfo)
    return
  end if
  call rhschk(rhs, n)
  call stage(t, y, k1)
  call stage(t + 0.5*h, y + 0.5*h*k1, k2)
  call stage(t + 0.5*h, y + 0.5*h*k2, k3)
  call stage(t + h, y + h*k3, k4)
  y = y + h*(k1 + 2.0*k2 + 2.0*k3 + k4)/6.0
  nsteps = nsteps + 1
  if (mod(nsteps, 1000) == 0) write (lout, 110) nsteps, t + h, maxval(abs(y))
100 format (' ', A, ': zero step at T =', 1P E13.5 / ' H =', E13.5)
110 format (1X, I8, ' steps;', 1P / ' T =', E13.5, ' MAX |Y| =', E13.5)

contains

  ! One stage: the right-hand side at (tt, yy), with the host's N and RHS.
  subroutine stage(tt, yy, dydt)
    real, intent(in) :: tt, yy(:)
    real, intent(out) :: dydt(:)
    namelist /stagein/ tt, n
    call rhs(n, tt, yy, dydt)
    if (info /= 0) write (lout, stagein)
  end subroutine stage

end subroutine odestep

! RHSCHK only passes the dummy procedure on; it never calls it itself.
subroutine rhschk(f, n)
  implicit none
  external f
  integer, intent(in) :: n
  if (n > 0) call rhsprobe(f, n)
end subroutine rhschk

module ode_helpers
  implicit none
contains
  ! Each module procedure keeps its own scratch variable under its own IMPLICIT rules.
  subroutine scale_first(y)
    implicit real (w)
    real, intent(inout) :: y(:)
    w = 2.0
    y(1) = w*y(1)
  end subroutine scale_first
  subroutine count_steps(k)
    implicit integer (w)
    integer, intent(inout) :: k
    w = 1
    k = k + w
  end subroutine count_steps
end module ode_helpers
