subroutine caller(x, n)
  integer :: n
  real :: x(n)
  call work(x, n)
end subroutine caller

subroutine other
  interface
    subroutine work(a, m)
      integer :: m
      real :: a(m)
    end subroutine work
  end interface
  real :: y(5)
  call work(y, 5)
end subroutine other
