module mq2
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
  real function ad(f, a)
    interface
      real function f(x)
        real, intent(in) :: x
      end function f
    end interface
    real, intent(in) :: a
    ad = simp(f, a)
  end function ad
end module mq2
subroutine user(g)
  use mq2
  implicit none
  interface
    real function g(x)
      real, intent(in) :: x
    end function g
  end interface
  real :: r
  r = simp(g, 1.0)
end subroutine user
