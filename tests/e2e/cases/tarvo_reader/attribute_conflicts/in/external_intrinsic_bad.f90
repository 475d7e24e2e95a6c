program p
  real, external, intrinsic :: sin
end program p
