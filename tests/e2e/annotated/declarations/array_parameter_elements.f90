! A named constant whose value folds to an array keeps its elements: its
! elements and sections are constants wherever they are used.
program array_parameter_elements
  implicit none
  integer, parameter :: f(3) = 5
  integer, parameter :: g = f(2)
  integer, parameter :: two(2) = f(2:3) + 1
  integer, parameter :: x1 = 1 / (1 - min(abs(g - 5), 1))
  integer, parameter :: x2 = 1 / (1 - min(abs(two(2) - 6), 1))
  integer :: h(f(1))
  integer :: k
! expect: error: division by zero
! expect: error: must be an initialization expression
  integer, parameter :: z = 1 / (f(3) - 5)
  k = f(2)
  h = k
  print *, g, two, x1, x2, h, z
end program array_parameter_elements
! status: 2
