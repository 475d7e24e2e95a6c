module m
  integer :: v
  character(len=4) :: c
contains
  subroutine ms(n)
    integer, intent(in) :: n
    v = n
  end subroutine ms
end module m
