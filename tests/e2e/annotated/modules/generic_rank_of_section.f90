! status: 2
! Specifics of one generic that differ in the rank of an assumed-shape
! dummy: sections of rank 1 and 2 pick theirs; a scalar picks none.
module smm
  implicit none
  interface smooth
    module procedure smooth_2d, smooth_1d
  end interface
contains
  function smooth_2d(a, passes) result(b)
    real, intent(in) :: a(:, :)
    integer, intent(in) :: passes
    real :: b(size(a, 1), size(a, 2))
    b = a * passes
  end function smooth_2d
  function smooth_1d(a, passes) result(b)
    real, intent(in) :: a(:)
    integer, intent(in) :: passes
    real :: b(size(a))
    b = a * passes
  end function smooth_1d
end module smm
program p
  use smm
  implicit none
  real, allocatable :: t(:, :), line(:)
  real :: u(4, 4), v(4)
  allocate(t(4, 4), line(4))
  t = 1.0
  line = smooth(t(:, 1), 3)
  v = smooth(u(:, 1), 3)
  v = smooth(v, 3)
  u = smooth(u, 3)
  t = smooth(t, 3)
! expect: error: no matching routine for the generic name SMOOTH
  v = smooth(u(1, 1), 3)
  u(2:3, :) = smooth(t(1:2, :), 2)
end program p
