module m
  implicit none
  public :: foo
contains
  function foo(x) result(r)
    real, intent(in) :: x
    real :: r
    r = x
  end function foo
end module m
program p
  implicit none
  call s
contains
  subroutine s
    k = 1
    print *, k
  end subroutine s
end program p
