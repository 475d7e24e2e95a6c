! Construct names of WHERE and FORALL constructs that do not match or
! are missing.
subroutine names_wrong(a)
  implicit none
  real, intent(inout) :: a(:)
  integer :: i
  one: where (a > 1.0)
     a = 1.0
  elsewhere two
     a = 0.0
  end where
  four: forall (i = 1:size(a))
     a(i) = 0.0
  end forall five
  forall (i = 1:size(a))
     a(i) = 2.0
  end forall seven
end subroutine names_wrong
