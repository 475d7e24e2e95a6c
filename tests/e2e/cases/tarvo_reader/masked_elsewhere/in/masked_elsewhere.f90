! ELSEWHERE with a mask, one or more of them, with and without a final
! ELSEWHERE.
subroutine clip(a, lo, hi)
  implicit none
  real, intent(inout) :: a(:,:)
  real, intent(in) :: lo, hi
  where (a < lo)
     a = lo
  elsewhere (a > hi)
     a = hi
  elsewhere (abs(a) < 1.0e-6)
     a = 0.0
  elsewhere
     a = a * 1.0
  end where
  where (a == lo)
     a = -a
  elsewhere (a == hi)
     a = 2.0 * a
  end where
end subroutine clip
