module m
  type t
    real, target :: x
  end type t
end module m
