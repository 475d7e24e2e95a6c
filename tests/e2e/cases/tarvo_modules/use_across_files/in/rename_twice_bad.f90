subroutine rename_twice_bad
  use shapes, c => counter
  use shapes, c => npts
end subroutine rename_twice_bad
