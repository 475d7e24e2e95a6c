program p
  type t
    integer :: i
    real :: r
  end type t
  type(t) :: x, y(2)
  integer :: a(3), k
  x = t(1, 2.0)
  y(1) = t(k + 1, real(k))
  a = (/ 1, 2, 3 /)
  a = [ 1, 2, 3 ]
  a = (/ (k, k = 1, 3) /)
end program p
