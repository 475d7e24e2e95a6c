! IMPLICIT letter ranges, repeated letters and IMPLICIT NONE.
subroutine s1
! expect: error: a type has already been associated with "B"
implicit real (a-h), integer (b)
! expect: warning: a type has already been associated with "O"
implicit integer (o), integer (o)
! expect: error: letter must follow "Z" in alphabetic order
implicit logical (z-a)
! expect: warning: letter must follow "Q" in alphabetic order
implicit complex (q-q)
end subroutine s1

subroutine s2
implicit none
! expect: error: identifier "X" has not been explicitly typed
x = 1
end subroutine s2

subroutine s3
implicit integer (x)
! IMPLICIT NONE of s2 does not reach s3.
x = 1
end subroutine s3

subroutine s4
end subroutine s4

subroutine s5
implicit none
! expect: error: IMPLICIT NONE in effect -- implicit typing not permitted
implicit integer (k)
end subroutine s5
! status: 2
