module shapes
  implicit none
  type box
    real, pointer :: p(:) => null()
    real :: a(3)
  end type box
contains
  logical function ready(b)
    type(box), intent(in) :: b
    ready = associated(b%p) .and. associated(b%a)
  end function ready
end module shapes
