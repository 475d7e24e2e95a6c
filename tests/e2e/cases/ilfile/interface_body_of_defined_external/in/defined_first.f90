subroutine accum(x, n)
  integer, intent(in) :: n
  real, intent(in) :: x(n)
  print *, x
end subroutine
program p
  interface
    subroutine accum(x, n)
      integer, intent(in) :: n
      real, intent(in) :: x(n)
    end subroutine
  end interface
  real :: t(3)
  call accum(t, 3)
end program
