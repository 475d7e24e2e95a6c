! DATA: repeat counts, signs, conversions, overlaps and leftover values.
subroutine s1(k)
integer k
real x(3), a
integer n, m
logical l
character*4 c
complex z
data x /3*1.0/
! The second value has no destination: reported once, and skipped.
! expect: error: too many values in DATA initialization
data a /1, 2/
! expect: error: repeat count must not be negative
data n /-3*1/
! expect: error: repeat count must have integer type
data m /1.5*2/
! expect: error: constant must have arithmetic type
data l /-.true./
data c(2:3) /'ab'/
! expect: error: multiple DATA initialization of storage for "X"
data x(1) /2.0/
! expect: error: constant type is incompatible with destination
data z /'x'/
k = n + m
if (l) a = x(1) + real(z)
c(1:1) = 'c'
end subroutine s1

subroutine s2(k)
integer k, p(2), q(4)
! Values converted to the destination type; the sets separated by commas.
data p /1.0, 2/, q(1), q(2) /2*7/
! expect: error: too few values in DATA initialization
data q(3), q(4) /9/
k = p(1) + q(1)
end subroutine s2

subroutine s3(d)
real d
! The object is checked as initialized: a dummy argument may not be.
! expect: error: dummy argument entity should not be initialized
data d /1.0/
end subroutine s3
! status: 2
