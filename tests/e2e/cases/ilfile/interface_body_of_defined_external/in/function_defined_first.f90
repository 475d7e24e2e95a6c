function total(x, n)
  integer, intent(in) :: n
  real, intent(in) :: x(n)
  real :: total
  total = x(1) + x(n)
end function
program p
  interface
    function total(x, n)
      integer, intent(in) :: n
      real, intent(in) :: x(n)
      real :: total
    end function
  end interface
  real :: t(3)
  print *, total(t, 3)
end program
