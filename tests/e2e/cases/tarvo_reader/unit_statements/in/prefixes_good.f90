recursive pure integer function f(n)
  integer, intent(in) :: n
  f = n
end function f
integer recursive function f7(n)
  integer n
  f7 = n
end function f7
