subroutine rename_private_bad
  use shapes, h => twice_i
end subroutine rename_private_bad
