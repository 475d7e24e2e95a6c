program r
  real a(1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1)
  real b(1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1)
  real c(2)
  real c(2)
  integer n
  real d(n, 0:n)
  type tt
    real x(n)
    real y(2:3)
  end type tt
end program r
