module m
  type v
    real x
  end type v
  interface operator(.eq.)
    module procedure eqv
  end interface operator(==)
contains
  logical function eqv(a, b)
    type(v), intent(in) :: a, b
    eqv = a%x == b%x
  end function eqv
end module m
