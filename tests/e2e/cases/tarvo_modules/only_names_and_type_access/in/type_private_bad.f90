module v
  implicit none
  type, private :: hidden
    integer :: n
  end type hidden
  type :: shown
    integer :: n
  end type shown
end module v
program p
  use v, only: shown, hidden
  type(shown) :: s
  s%n = 1
  print *, s%n
end program p
