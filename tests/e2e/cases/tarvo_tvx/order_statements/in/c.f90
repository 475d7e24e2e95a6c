subroutine c
  include 'usemd.inc'
end subroutine c
