program p
  integer, parameter :: k = selected_int_kind(9)
  integer, parameter :: a(3) = (/ 1, 2, 3 /)
  integer, parameter :: second = a(2) + 1
  real, allocatable :: r(:)
  character(len=8) :: s
  integer(kind=k) :: i
  s = 'abc'
  allocate (r(second))
  if (allocated(r)) deallocate (r)
  select case (len_trim(s))
  case (0)
    i = 0
  case default
    i = 1
  end select
  do i = 1, len(s)
  end do
end program p
