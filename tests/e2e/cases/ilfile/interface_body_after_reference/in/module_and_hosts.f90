module mm
contains
  subroutine caller(x, n)
    integer :: n
    real :: x(n)
    call work(x, n)
  end subroutine caller
end module mm

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

subroutine third
  interface
    subroutine work(b, k)
      integer :: k
      real :: b(k)
    end subroutine work
  end interface
  real :: z(3)
  call work(z, 3)
contains
  subroutine inner
    interface
      subroutine work(c, j)
        integer :: j
        real :: c(j)
      end subroutine work
    end interface
    call work(z, 3)
  end subroutine inner
end subroutine third
