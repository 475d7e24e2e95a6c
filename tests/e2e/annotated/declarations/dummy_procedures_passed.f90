! A dummy procedure named only by EXTERNAL, and never called here, is passed
! on to another procedure as an actual argument.
subroutine integrate(f, a, b, result)
  external f
  real a, b, result
  call quadrature(f, a, b, result)
end subroutine integrate

subroutine apply_twice(g, h)
  external g, h
  call apply_once(g)
  call apply_once(h)
  call apply_pair(g, h)
end subroutine apply_twice

subroutine solver(fcn, n, x)
  external fcn
  integer n
  real x(n)
  call step(fcn, n, x)
  call fcn(n, x)
end subroutine solver

real function evaluate(func, x)
  external func
  real func, x
  evaluate = func(x)
end function evaluate
