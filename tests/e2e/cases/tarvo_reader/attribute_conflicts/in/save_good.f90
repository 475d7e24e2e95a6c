subroutine s(a)
  real a, b
  real, save :: c
  save b
  common /blk/ d
  save /blk/
end subroutine s
