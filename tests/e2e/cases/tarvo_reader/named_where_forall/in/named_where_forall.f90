! Named WHERE and FORALL constructs, the name repeated on ELSEWHERE
! (with and without a mask) and on the closing statements.
subroutine smooth(a, b)
  implicit none
  real, intent(inout) :: a(:), b(:)
  integer :: i
  clip: where (a > 1.0)
     a = 1.0
  elsewhere (a < 0.0) clip
     a = 0.0
  elsewhere clip
     b = a
  end where clip
  fill: forall (i = 1:size(a), b(i) > 0.0)
     a(i) = real(i) * b(i)
  end forall fill
  where (b < 0.0)
     b = 0.0
  elsewhere
     b = 2.0 * b
  end where
  forall (i = 2:size(b)) b(i) = b(i - 1)
end subroutine smooth
