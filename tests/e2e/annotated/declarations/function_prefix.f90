! Type specifiers in front of FUNCTION.
character*8 function label_of()
  label_of = 'x'
end function label_of
real(kind=2) function twice(x)
  real(kind=2) :: x
  twice = 2 * x
end function twice
double precision function dp()
  dp = 1
end function dp
! expect: error: kind value does not specify a representation method
integer(kind=9) function bad_kind()
  bad_kind = 1
end function bad_kind
character(len=*) function any_length()
  any_length = 'y'
end function any_length
