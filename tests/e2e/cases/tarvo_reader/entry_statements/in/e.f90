subroutine s(a)
entry s2(b)
entry s2(c)
end
function f(x)
entry g(y) result(r)
entry h(z) result(h)
entry k(w) x
f = x
end
program p
entry q
end
