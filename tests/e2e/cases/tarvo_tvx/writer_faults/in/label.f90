subroutine s(x)
real x
10 x = 1
goto 10
end
