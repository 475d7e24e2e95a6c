! LOGICAL converts between logical kinds; its argument keyword is L.
subroutine logical_kinds(flags, n)
  implicit none
  integer, intent(in) :: n
  logical, intent(in) :: flags(n)
  logical(kind=1) :: small(n)
  logical :: any_set
  small = logical(flags, kind=1)
  small = logical(l=flags, kind=1)
  any_set = any(logical(l=small))
  any_set = any_set .or. logical(small(1), 4)
  print *, any_set
end subroutine logical_kinds
