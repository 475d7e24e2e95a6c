program p
  real :: x
  intent(in) :: x
  optional :: x
end program p
subroutine s
  real :: y
  intent(inout) :: y
  optional y
  intent(up) :: y
  intent y
end subroutine s
