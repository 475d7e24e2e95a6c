! The storage a function's result shares with its ENTRY results is as large
! as the largest of them: INTEGER F (4 bytes) with DOUBLE PRECISION G (8).
function f(i)
  integer :: f, i
  double precision :: g
  f = i
  return
  entry g(i)
  g = i
end function f
! The main result the largest: COMPLEX (8 bytes) with an INTEGER entry.
function c(i)
  complex :: c
  integer :: i, k
  c = (1.0, 2.0)
  return
  entry k(i)
  k = i
end function c
