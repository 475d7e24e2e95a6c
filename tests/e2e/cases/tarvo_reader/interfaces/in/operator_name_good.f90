module m
  interface operator
    module procedure op1
  end interface
contains
  integer function op1(i)
    integer, intent(in) :: i
    op1 = i
  end function op1
end module m
