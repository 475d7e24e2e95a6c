subroutine outer(a, n)
  integer n
  real a(n)
  call inner(1)
contains
  subroutine inner(i)
    integer i
    a(i) = 5.0
  end subroutine inner
end subroutine outer
