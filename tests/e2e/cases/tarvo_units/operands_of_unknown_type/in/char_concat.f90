module ops2
  implicit none
contains
  function two(c) result(r)
    character(len=*), intent(in) :: c
    character(len=40) :: r
    r = c // wrap(c)
    r = wrap(c) // c
    if (wrap(c) == 'x' .or. num(1) > 2) r = 'y'
    r(1:1) = char(num(2) + 1)
  contains
    function wrap(x) result(w)
      character(len=*), intent(in) :: x
      character(len=20) :: w
      w = x
    end function wrap
    integer function num(k)
      integer, intent(in) :: k
      num = k
    end function num
  end function two
end module ops2
