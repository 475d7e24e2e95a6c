! Statement functions, and names declared after an earlier use.
subroutine s1(y)
real y
f(x) = x * 2.0
g(a, b) = a + b
! expect: warning: statement function "H" declared and never referenced
h(x) = x
y = f(y) + g(1.0, 2.0)
end subroutine s1

program p
i = 2
! I was used before: DATA declares it here, it is no host name.
data i /3/
call q
contains
subroutine q
i = i + 1
! expect: error: invalid redeclaration of a host symbol "I"
data i /4/
end subroutine q
end program p
! status: 2
