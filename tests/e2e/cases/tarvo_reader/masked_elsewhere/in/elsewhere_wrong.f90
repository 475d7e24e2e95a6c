! A masked ELSEWHERE after the plain one, an integer mask, and one
! outside a WHERE construct.
subroutine wrong(a, k)
  implicit none
  real, intent(inout) :: a(:)
  integer, intent(in) :: k(:)
  where (a > 0.0)
     a = 1.0
  elsewhere
     a = 0.0
  elsewhere (a < -1.0)
     a = -1.0
  end where
  where (a > 0.0)
     a = 2.0
  elsewhere (k)
     a = 3.0
  end where
  elsewhere (a > 1.0)
end subroutine wrong
