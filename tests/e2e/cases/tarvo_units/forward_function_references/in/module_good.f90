module shelf
  implicit none
  private
  public :: report
  type item
    integer :: n = 0
  end type item
contains
  subroutine report(k)
    integer, intent(in) :: k
    character(len=4) :: name
    name = label(k)
    if (even(k)) print *, name, twice(k), first(k)
  contains
    integer function first(j)
      integer, intent(in) :: j
      first = twice(j) + fresh()
    end function first
    integer function fresh()
      type(item) :: it
      it = blank()
      fresh = it%n
    end function fresh
  end subroutine report
  integer function twice(k)
    integer, intent(in) :: k
    twice = 2 * k
  end function twice
  character(len=4) function label(k)
    integer, intent(in) :: k
    label = merge('even', 'odd ', even(k))
  end function label
  logical function even(k)
    integer, intent(in) :: k
    even = mod(k, 2) == 0
  end function even
  function blank() result(it)
    type(item) :: it
    it%n = 0
  end function blank
end module shelf
