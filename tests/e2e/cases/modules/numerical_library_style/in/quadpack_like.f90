!-----------------------------------------------------------------------------------------------------------------------------------
! QUADLIB: adaptive quadrature with a Gauss-Kronrod pair, written in the manner of the large numerical libraries: a kinds module,
! a module of interval types with defined operators and a generic, and driver routines that pass the integrand on as a dummy.
!-----------------------------------------------------------------------------------------------------------------------------------
module quad_kinds
  implicit none
  integer, parameter :: sp = 1, dp = 2
  real(dp), parameter :: zero = 0.0_dp, one = 1.0_dp, half = 0.5_dp
end module quad_kinds

module quad_intervals
  use quad_kinds
  implicit none
  private
  public :: interval, operator(+), operator(.width.), midpoint, make_interval, bisect
  type interval
    real(dp) :: lo, hi
    real(dp) :: estimate
    integer :: level
  end type interval
  interface operator(+)
    module procedure add_intervals
  end interface
  interface operator(.width.)
    module procedure interval_width
  end interface
  interface midpoint
    module procedure midpoint_one, midpoint_many
  end interface
contains
  function add_intervals(a, b) result(c)
    type(interval), intent(in) :: a, b
    type(interval) :: c
    c%lo = min(a%lo, b%lo)
    c%hi = max(a%hi, b%hi)
    c%estimate = a%estimate + b%estimate
    c%level = max(a%level, b%level)
  end function add_intervals
  real(dp) function interval_width(a)
    type(interval), intent(in) :: a
    interval_width = a%hi - a%lo
  end function interval_width
  real(dp) function midpoint_one(a)
    type(interval), intent(in) :: a
    midpoint_one = half * (a%lo + a%hi)
  end function midpoint_one
  function midpoint_many(a) result(m)
    type(interval), intent(in) :: a(:)
    real(dp) :: m(size(a))
    integer :: i
    do i = 1, size(a)
      m(i) = midpoint_one(a(i))
    end do
  end function midpoint_many
  type(interval) function make_interval(lo, hi, level)
    real(dp), intent(in) :: lo, hi
    integer, intent(in), optional :: level
    make_interval%lo = lo
    make_interval%hi = hi
    make_interval%estimate = zero
    make_interval%level = 0
    if (present(level)) make_interval%level = level
  end function make_interval
  subroutine bisect(a, left, right)
    type(interval), intent(in) :: a
    type(interval), intent(out) :: left, right
    real(dp) :: m
    m = midpoint(a)
    left = make_interval(a%lo, m, a%level + 1)
    right = make_interval(m, a%hi, a%level + 1)
  end subroutine bisect
end module quad_intervals

module quad_rules
  use quad_kinds
  use quad_intervals
  implicit none
  integer, parameter :: max_levels = 30
  real(dp), parameter :: xgk(4) = (/ 0.9491079123427585_dp, 0.7415311855993945_dp, &
                                     0.4058451513773972_dp, 0.0_dp /)
  real(dp), parameter :: wgk(4) = (/ 0.1294849661688697_dp, 0.2797053914892767_dp, &
                                     0.3818300505051189_dp, 0.4179591836734694_dp /)
contains
  ! Seven-point rule on one interval; F is the user's integrand, passed in and called here.
  subroutine rule7(f, a, result, abserr)
    interface
      function f(x)
        use quad_kinds
        real(dp), intent(in) :: x
        real(dp) :: f
      end function f
    end interface
    type(interval), intent(inout) :: a
    real(dp), intent(out) :: result, abserr
    real(dp) :: centr, hlgth, fc, fval1, fval2
    integer :: j
    centr = midpoint(a)
    hlgth = half * (.width. a)
    fc = f(centr)
    result = fc * wgk(4)
    do j = 1, 3
      fval1 = f(centr - hlgth * xgk(j))
      fval2 = f(centr + hlgth * xgk(j))
      result = result + wgk(j) * (fval1 + fval2)
    end do
    result = result * hlgth
    abserr = abs(result - fc * 2.0_dp * hlgth) * 1.0e-3_dp
    a%estimate = result
  end subroutine rule7

  recursive subroutine adapt(f, a, tol, total, calls)
    interface
      function f(x)
        use quad_kinds
        real(dp), intent(in) :: x
        real(dp) :: f
      end function f
    end interface
    type(interval), intent(inout) :: a
    real(dp), intent(in) :: tol
    real(dp), intent(inout) :: total
    integer, intent(inout) :: calls
    type(interval) :: left, right, both
    real(dp) :: r, e
    call rule7(f, a, r, e)
    calls = calls + 1
    if (e <= tol .or. a%level >= max_levels) then
      total = total + r
      return
    end if
    call bisect(a, left, right)
    call adapt(f, left, half * tol, total, calls)
    call adapt(f, right, half * tol, total, calls)
    both = left + right
    a%estimate = both%estimate
  end subroutine adapt
end module quad_rules

! Old-style driver: COMMON with CHARACTER*(N), FORMAT with 1P and slashes, an EXTERNAL integrand passed on.
subroutine qdrive(f, a, b, tol, result, ier)
  use quad_kinds
  use quad_intervals
  use quad_rules
  implicit none
  integer, parameter :: namlen = 16
  real(dp), external :: f
  real(dp), intent(in) :: a, b, tol
  real(dp), intent(out) :: result
  integer, intent(out) :: ier
  character*(namlen) routine
  character*(2*namlen) message
  integer nout, ncalls
  common /qdcom/ nout, ncalls, routine, message
  type(interval) :: whole
  external qshow
  whole = make_interval(a, b)
  message = ' '

  result = zero
  ncalls = 0
  routine = 'QDRIVE'
  call adapt(f, whole, tol, result, ncalls)
  ier = 0
  if (ncalls > 1000) ier = 1
  if (failed()) ier = 2
  write (nout, 9000) routine, result, ncalls
  write (nout, 9010) a, b, tol
9000 format (1X, A, ' RESULT = ', 1P E15.7 / ' CALLS = ', I8)
9010 format (' LIMITS ', 1P, 2E12.4 / ' TOL ', E10.2 /)
  call report(qshow, 'DONE')
contains
  ! Internal procedures see the host's dummies and COMMON names.
  logical function failed()
    failed = ier /= 0 .or. result /= result
  end function failed
end subroutine qdrive

subroutine qshow(text)
  character(len=*), intent(in) :: text
  integer nout, ncalls
  character*16 routine
  character*32 message
  common /qdcom/ nout, ncalls, routine, message
  message = text
  ncalls = ncalls + 1
  write (nout, '(1X, A)') trim(message) // ' ' // routine
end subroutine qshow

! The printer is only passed on and called: an untyped EXTERNAL dummy.
subroutine report(printer, text)
  external printer
  character*(*) text
  call printer(text)
end subroutine report

block data qdinit
  integer nout, ncalls
  character*16 routine
  character*32 message
  common /qdcom/ nout, ncalls, routine, message
  data nout, ncalls /6, 0/, routine /'NONE'/, message /' '/
end block data qdinit
