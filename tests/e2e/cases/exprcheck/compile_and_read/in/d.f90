program stress
  type pt
    integer :: a
    real :: b(3)
    real, pointer :: p
  end type pt
  type(pt) :: x, y(4)
  integer :: i, j, k, n(10)
  real, target :: r
  real, pointer :: pr
  character(len=8) :: c, cs(3)
  logical :: l
  complex :: z
  x = pt(1, (/1.0, 2.0, 3.0/), pr)
  x%a = 2


  y%a = 3
  n = (/ (i, i = 1, 10) /)
  n(2:5) = n(1:4) + 1
  n(n(1:3)) = 0
  pr => r
  c = 'abc' // 'def'
  c(2:3) = cs(1)(1:2)
  cs(2)(:) = c
  l = c > 'abc' .and. i == 3 .or. .not. l
  z = (1.0, 2.0) * r
  k = size(n) + maxval(n) + len(c) + len_trim(c)
  r = sqrt(abs(real(i))) ** 2
  do i = 1, 10, 2
    j = j + mod(i, 3)
  end do
  if (i > 3) then
    k = k + 1
  end if
  call sub(x, y(1), n, c(1:2), *10)
10 continue
  stop 'done'
end program stress
