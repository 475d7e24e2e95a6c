! Distribution formats that do not fit the template or the processors,
! and attributes a template or a processor arrangement cannot take.
program template_wrong
  implicit none
  integer, parameter :: n = 16
!HPF$ PROCESSORS p(2, 2), q(4)
!HPF$ TEMPLATE, DISTRIBUTE(BLOCK) ONTO q :: t2(n, n)
!HPF$ TEMPLATE, DISTRIBUTE(BLOCK, BLOCK) ONTO q :: t3(n, n)
!HPF$ TEMPLATE t4(n, n)
!HPF$ TEMPLATE, ALIGN WITH t4 :: t5(n, n)
!HPF$ PROCESSORS, DISTRIBUTE(BLOCK) :: r(4)
  print *, n
end program template_wrong
