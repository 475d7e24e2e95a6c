function f(x)
  real f, x
  integer k
  do k = 1, 2
  end do
  f = x
  return
  entry k(x)
end function f
