subroutine s(a)
  real, allocatable :: a(:)
end subroutine s
