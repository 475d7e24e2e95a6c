#!/usr/bin/env bash
# Writes a large free-form Fortran source to stdout: N subroutines, each with
# declarations, a DO loop, an IF block, calls and intrinsic references.
n=${1:-2000}
for ((i = 1; i <= n; i++)); do
  cat <<F90
subroutine s$i(a, n, total)
  implicit none
  integer, intent(in) :: n
  real, intent(in) :: a(n)
  real, intent(out) :: total
  integer :: k
  total = 0.0
  do k = 1, n
    if (a(k) > 0.0) then
      total = total + sqrt(a(k)) * 2.5e0 - abs(a(k)) / 3.0
    else
      total = total - max(a(k), -1.0e3)
    end if
  end do
  call helper(total, 'subroutine $i')
end subroutine s$i

F90
done
cat <<F90
subroutine helper(x, name)
  real :: x
  character(len=*) :: name
  x = x + len(name)
end subroutine helper
F90
