module later
  implicit none
  private
  public :: first
  private :: second
contains
  integer function first(k)
    integer, intent(in) :: k
    first = second(k) + 1
  end function first
  integer function second(k)
    integer, intent(in) :: k
    second = 2 * k
  end function second
end module later
