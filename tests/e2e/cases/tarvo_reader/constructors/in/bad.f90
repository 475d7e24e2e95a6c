program p
  type t
    integer :: i
    real :: r
  end type t
  type(t) :: x
  integer :: a(3)
  character(len=4) :: c
  x = t(1)
  x = t(1, 2.0, 3)
  x = t(c, 2.0)
  a = (/ 1, 2, 3 )
  a = [ 1, 2, 3 )
end program p
