program p
  real :: a(10), b(10), m(4, 6), w(3, 5)
  integer :: k(6)
  a(1:3) = b(1:4)
  a(2:10:2) = b(1:3)
  m(1:2, 2:6) = w(1:3, :)
  m(:, 1) = b(2:8)
  k = a(1:5)
  a = k(1:6)
  a(10:1:-1) = b(1:9)
end program p
