module mat
  implicit none
  type m2
    real :: a(2, 2)
  end type m2
  interface operator(.inv.)
    module procedure inv
  end interface
  interface operator(.t.)
    module procedure tr
  end interface
  interface operator(*)
    module procedure mul
  end interface
contains
  function inv(x) result(y)
    type(m2), intent(in) :: x
    type(m2) :: y
    real :: d
    d = x%a(1,1) * x%a(2,2) - x%a(1,2) * x%a(2,1)
    y%a(1,1) = x%a(2,2) / d
    y%a(2,2) = x%a(1,1) / d
    y%a(1,2) = -x%a(1,2) / d
    y%a(2,1) = -x%a(2,1) / d
  end function inv
  function tr(x) result(y)
    type(m2), intent(in) :: x
    type(m2) :: y
    y%a = transpose(x%a)
  end function tr
  function mul(x, z) result(y)
    type(m2), intent(in) :: x, z
    type(m2) :: y
    y%a = matmul(x%a, z%a)
  end function mul
  subroutine check(x)
    type(m2), intent(in) :: x
    type(m2) :: p
    p = .inv. x * x
    p = .t. (.inv. x)
    if (.not. .false.) print *, p%a
  end subroutine check
end module mat
program main
  use mat
  type(m2) :: q, r
  q%a = 1.0
  q%a(1,1) = 2.0
  r = .inv. q * q
  r = .t. r
  print *, r%a
end program main
