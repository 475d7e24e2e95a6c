real function f(x)
real x
f = x
end function f
subroutine s
real y, f
print *, f(2.0)
y = f(1.0)
end subroutine s
