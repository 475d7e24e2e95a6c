module m
  type t
    real, pointer :: x
    real, dimension(3) :: y
  end type t
end module m
