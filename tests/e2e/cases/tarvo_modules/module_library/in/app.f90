program app
  use kinds
  use lists
  implicit none
  type(list_t) :: l
  real(dp) :: x(3) = (/ 1.0_dp, 2.0_dp, 3.0_dp /)
  real(dp) :: t
  integer :: i
  do i = 1, 3
    call push(l, x(i))
  end do
  t = total(l) + total(x)
  i = length(l)
  print *, t, i, version
  call describe()
  call helper(l)
contains
  subroutine helper(ll)
    type(list_t), intent(in) :: ll
    type(node), pointer :: p
    p => ll%head
    if (associated(p)) print *, p%val
  end subroutine helper
end program app
