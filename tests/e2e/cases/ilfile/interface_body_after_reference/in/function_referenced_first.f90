subroutine caller(x, n, r)
  integer :: n
  real :: x(n), r, fwork
  r = fwork(x, n)
end subroutine caller

subroutine other(r)
  real :: r
  interface
    function fwork(a, m)
      integer :: m
      real :: a(m), fwork
    end function fwork
  end interface
  real :: y(5)
  r = fwork(y, 5)
end subroutine other
