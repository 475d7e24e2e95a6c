program d
  type point
    real :: x
    integer, pointer :: p
  end type point
  type(point) :: a
  a%x = 1.0
end program d
