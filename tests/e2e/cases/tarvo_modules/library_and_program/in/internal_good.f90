program walk2
  implicit none
  integer :: i
  do i = 1, 3
    call show(i)
  end do
contains
  integer function once(k)
    integer, intent(in) :: k
    once = k
  end function once
  integer function twice(k)
    integer, intent(in) :: k
    twice = 2 * once(k)
  end function twice
  subroutine show(k)
    integer, intent(in) :: k
    print *, twice(k)
  end subroutine show
end program walk2
