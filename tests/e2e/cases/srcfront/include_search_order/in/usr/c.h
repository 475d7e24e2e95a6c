! usr
! usr
i = 2147483648
