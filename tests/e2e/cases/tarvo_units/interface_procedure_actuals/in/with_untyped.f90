module mq3
  implicit none
contains
  real function simp(f, a)
    interface
      real function f(x)
        real, intent(in) :: x
      end function f
    end interface
    real, intent(in) :: a
    simp = f(a)
  end function simp
  subroutine two(a, b)
    real, intent(in) :: a, b
    print *, a + b
  end subroutine two
end module mq3
subroutine user(g)
  use mq3
  implicit none
  interface
    real function g(x)
      real, intent(in) :: x
    end function g
  end interface
  real :: r
  r = simp(g, 1.0)
  call two(r, undeclared)
  r = simp(h, 2.0)
end subroutine user
