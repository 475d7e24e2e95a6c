module m
  type(t) :: x
  type t
    integer i
    real, pointer :: a(5)
    type(t), pointer :: next
    type(u) :: y
  end type t
  integer i
  integer v
  type(v) :: z
  type(t) :: x
  type(w) :: k
end module m
