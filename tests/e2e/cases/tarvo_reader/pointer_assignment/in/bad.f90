program p
  real, pointer :: pp(:), ps
  real :: t(10), ts, x
  real, target :: t2(3, 3)
  pp => t
  ps => t2(1, 1)
  pp => t2
  x => ts
  ps => ts
end program p
