program values
  implicit none
  integer, parameter :: n(2) = (/ 2, 1 /)
  integer, parameter :: r1(2, 3) = reshape((/ 1, 2, 3, 4, 5, 6 /), (/ 2, 3 /), order = (/ 1, 3 /))
  integer, parameter :: r2(6) = reshape((/ 1, 2, 3, 4, 5, 6 /), (/ 2, -3 /))
  integer, parameter :: b(2) = ibits((/ 1, 2 /), 0, (/ 1, -1 /))
  integer, parameter :: s = size(n, dim = 1 + 1)
  integer, parameter :: r3(2) = reshape((/ 1, 2 /), -n)
end program values
