subroutine only_private_bad
  use shapes, only: hidden
end subroutine only_private_bad
