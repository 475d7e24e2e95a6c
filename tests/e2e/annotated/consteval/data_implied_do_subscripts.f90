! DATA implied DOs whose variable subscripts the object, with the variable
! declared and with it typed implicitly.
program data_implied_do_subscripts
  real b(3), c(2, 2)
  integer i
  data (b(i), i = 1, 3) / 1., 2., 3. /
  data ((c(j, k), j = 1, 2), k = 1, 2) / 4 * 0. /
  print *, b, c
end program data_implied_do_subscripts
! status: 0
