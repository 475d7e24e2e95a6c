#!/usr/bin/env bash
# Writes a free-form Fortran 90 source to stdout: a module with a generic
# interface and derived type, then N subroutines that use it with generic
# calls, array constructors, array sections and character operations.
n=${1:-100}
cat <<F90
module gm
  implicit none
  type pt
    real :: x, y
    integer :: tag
  end type pt
  interface scale
    module procedure scale_r, scale_i, scale_v
  end interface scale
contains
  real function scale_r(a, f)
    real, intent(in) :: a, f
    scale_r = a * f
  end function scale_r
  integer function scale_i(a, f)
    integer, intent(in) :: a, f
    scale_i = a * f
  end function scale_i
  function scale_v(a, f) result(r)
    real, intent(in) :: a(:), f
    real :: r(size(a))
    r = a * f
  end function scale_v
end module gm
F90
for ((i = 1; i <= n; i++)); do
  cat <<F90
subroutine g$i(v, m)
  use gm
  implicit none
  integer, intent(in) :: m
  real, intent(inout) :: v(m)
  integer :: k$i
  integer, parameter :: c($((i % 5 + 3))) = (/ (k$i * $i, k$i = 1, $((i % 5 + 3))) /)
  real :: w(4) = (/ 1.0, 2.0, 3.0, 4.0 /)
  type(pt) :: p
  character(len=12) :: s
  integer :: j
  p = pt(1.0, 2.0, $i)
  v(1:m:2) = scale(v(1:m:2), 2.0)
  j = scale(c(1), 3)
  w = scale(w, p%x) + (/ (real(j), j = 1, 4) /)
  s = 'g$i' // repeat('-', 3)
  if (len_trim(s) > 0 .and. any(w > 0.0)) v(1) = scale(sum(w), p%y) + c(2)
end subroutine g$i
F90
done
