module m
  type t
    integer i
  end type t
contains
  type(t) function f*4()
    f%i = 1
  end function f
end module m
