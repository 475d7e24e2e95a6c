program p
  integer i
  integer i
  real i
  integer(len=4) :: j
  double precision(8) :: d
  integer, :: k
  character(len=10, kind=1) :: s
  character(kind=1, len=10) :: t
  real a(*, 2)
  real b(5:1)
  real c(1:2, 3:*)
  real e(:, 1:2)
  integer f)
  integer, pointer :: q(5)
  integer, parameter :: r, s2 = 1
end program p
