program d
  type point
    real :: x
    integer, pointer :: n
  end type point
  type(point) :: p
end program d
