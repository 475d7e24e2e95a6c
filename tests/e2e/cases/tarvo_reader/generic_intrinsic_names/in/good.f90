program p
  interface sin
    integer function isin(i)
      integer, intent(in) :: i
    end function isin
  end interface
  integer :: k
  real :: y
  k = sin(3)
  y = sin(0.5)
  print *, k, y
end program p
