! A program that uses the library's module files: the type, its operators
! and the generic, and an integrand passed as a dummy procedure.
program qtest
  use quad_kinds
  use quad_intervals
  use quad_rules, only: adapt, levels => max_levels
  implicit none
  interface
    function fx(x)
      use quad_kinds
      real(dp), intent(in) :: x
      real(dp) :: fx
    end function fx
  end interface
  type(interval) :: a, b, c
  real(dp) :: total
  integer :: calls
  a = make_interval(zero, one)
  b = make_interval(one, 2.0_dp, levels)
  c = a + b
  total = zero
  calls = 0
  call adapt(fx, c, 1.0e-8_dp, total, calls)
  print '(1P, 2E14.6 / I6)', total, .width. c, calls
  print *, midpoint((/ a, b /))
end program qtest

function fx(x)
  use quad_kinds
  real(dp), intent(in) :: x
  real(dp) :: fx
  fx = exp(-x * x)
end function fx
