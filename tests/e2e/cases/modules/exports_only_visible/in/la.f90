module la
type t
  integer i
end type t
integer secret_of_a
contains
subroutine s(x)
type(t) x
x%i = secret_of_a
end subroutine s
end module la
