! The initial value of an array in a declaration keeps its place when the
! array is in COMMON or EQUIVALENCE: it covers the array's own storage, at
! the array's offset, and nothing else.
block data tables
  integer :: j = 5
  integer :: k(3) = (/ 1, 2, 3 /)
  integer :: l(2)
  common /c/ j, k, l
  data l / 8, 9 /
end block data tables

block data shadows
  integer :: j = 5
  integer :: k(3) = (/ 1, 2, 3 /)
! m is k(1), which the initial value of k covers.
! expect: error: multiple DATA initialization of storage for "M"
  integer :: m
  common /d/ j, k
  equivalence (m, k(1))
  data m / 7 /
end block data shadows

subroutine aliases
  integer :: a(2) = (/ 1, 2 /)
  integer :: b(4)
  equivalence (a, b(3))
  data b(1), b(2) / 3, 4 /
  print *, a, b
end subroutine aliases

subroutine clash
  integer :: a(2) = (/ 1, 2 /)
! b(3) is a(2): its DATA value meets a's initial value.
! expect: error: multiple DATA initialization of storage for "B"
  integer :: b(4)
  equivalence (a, b(2))
  data b(3) / 7 /
  print *, a, b
end subroutine clash
! status: 2
