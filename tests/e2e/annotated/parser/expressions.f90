! status: 2
program p
! expect: error: invalid consecutive operators
a = b * -c
! expect: error: BOZ-constant not in a DATA statement
i = z'1f'
! expect: error: keyword must not be omitted from actual argument specification
call s(x=1, 2)
! expect: error: extra text after expected end of statement
x = 1 2
! expect: error: unrecognized statement
foo bar
10 continue
! expect: error: label has already been defined
10 continue
! expect: error: expected an integer or real constant
z = (x, 1.0)
! expect: error: object is not of a derived type
y = q%r
! expect: error: expected a ")"
y = (a + b
! expect: error: expected an expression
y = a +
! expect: error: do-variable must be a named variable
v = (/ (w(j) = 1, 2) /)
! Valid forms: no syntax message; the names are implicitly typed scalars, so
! the expression checker reports what their types do not allow.
! expect: error: invalid argument for the operation +
! expect: error: subscript used on non-array
y = -a ** 2 + (1, 2.5d0) + 'abc'(2:3) // c(:)
! expect: error: keyword is not allowed
call s(*10, k=1)
k = 2 ** 3 ** 2 - k - 1
! expect: error: invalid argument for the operation .NOT.
l = .not. a .and. b .or. a .eqv. b
! expect: error: expression type is incompatible with destination
v = (/ (j, j = 1, 3), 4 /)
! expect: error: subscript used on non-array
! expect: error: subscript used on non-array
call t(a(1:2, 1::2), b(:))
end program p
