program demo
  implicit none
  type node
    integer :: v
  end type node
  type(node) a, b
  a%v = 1
  b = a
  print *, b%v
end program demo
