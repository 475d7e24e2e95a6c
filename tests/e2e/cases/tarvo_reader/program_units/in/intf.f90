program p
  implicit none
  interface
    subroutine ext(a)
      real, intent(in) :: a
    end subroutine ext
    real function g(x)
      real :: x
    end function g
  end interface
  real :: z
  z = g(1.0)
  call ext(z)
end program p
subroutine q
  interface
    subroutine r()
    end subroutine
end
