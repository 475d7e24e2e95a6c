! A CHARACTER named constant has its declared length: a shorter value is
! padded with blanks, a longer one cut. Each division below is by zero only
! when the value kept the literal's length.
program character_constant_lengths
  character(len=4), parameter :: c = 'ab'
  character(len=2), parameter :: d = 'abc'
  integer, parameter :: t1 = 1 / (len(c // 'x') - 3)
  integer, parameter :: t2 = 1 / (len(d // d) - 6)
  integer, parameter :: t3 = 1 / (ichar(c(4:4)) - 31)
  print *, c, d, t1, t2, t3
end program character_constant_lengths
