module m
  integer :: count
  character(len=8) :: label
  interface next
    module procedure bump
  end interface
contains
  subroutine bump()
    return
  end subroutine bump
end module m
