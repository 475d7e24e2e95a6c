program p
  type node
    real :: v
    type(node), pointer :: next
  end type node
  real, pointer :: pp(:), ps, pq(:)
  real, target :: t(10), ts
  type(node), target :: n1
  type(node), pointer :: np
  pp => t
  pp => t(2:5)
  ps => ts
  pq => pp
  ps => pp(1)
  np => n1
  np => n1%next
  ps => n1%v
  pp => null()
  nullify(ps)
end program p
