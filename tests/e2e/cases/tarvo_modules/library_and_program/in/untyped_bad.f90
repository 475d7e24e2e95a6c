module counts
  implicit none
  type bag
    integer :: n = 0
  end type bag
contains
  integer function size_of(b)
    type(bag), intent(in) :: b
    size_of = b%n
  end function size_of
  integer function total(b)
    type(bag), intent(in) :: b
    total = size_of(b) + extra(b)
    print *, b%n, left
  end function total
end module counts
