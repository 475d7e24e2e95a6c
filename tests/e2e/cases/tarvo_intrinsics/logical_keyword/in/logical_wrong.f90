! The keyword of another conversion, and an integer argument.
subroutine logical_wrong(flag, k)
  implicit none
  logical, intent(inout) :: flag
  integer, intent(in) :: k
  flag = logical(a=flag)
  flag = logical(k)
end subroutine logical_wrong
