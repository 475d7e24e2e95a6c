! The same forms with real errors in the assignments.
module prefixed_wrong
  implicit none
  type pair
     integer :: i = 0, j = 0
  end type pair
contains
  type(pair) function swapped(p)
    type(pair), intent(in) :: p
    swapped = pair(p%j, undeclared)
  end function swapped

  character(len=3) function code(n)
    integer, intent(in) :: n
    code = 'abc'
    code(1:1) = n
  end function code

  type(pair) function never_set(p)
    type(pair), intent(in) :: p
  end function never_set
end module prefixed_wrong
