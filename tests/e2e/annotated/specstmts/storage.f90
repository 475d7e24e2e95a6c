! args: -r
! COMMON layout and EQUIVALENCE sets.
subroutine s1
character*1 ch
! The remark goes to the declaration of the member.
! expect: remark: padding supplied to align "I" in COMMON
integer i
double precision d
common /b1/ ch, i
! DOUBLE PRECISION has alignment 4: no padding after I3.
common /b3/ i3, d
ch = 'a'
i = 1
i3 = 1
d = 1.0
end subroutine s1

subroutine s2
real a(4), b(4)
! expect: error: inconsistent EQUIVALENCE specifications for variable "B"
equivalence (a, b(2)), (a, b(3))
a(1) = b(1)
end subroutine s2

subroutine s3
real x(4), y(2)
common /c1/ x
! expect: error: EQUIVALENCE specification of "Y" extends COMMON block backwards
equivalence (y(2), x(1))
x(1) = y(1)
end subroutine s3

subroutine s4
! /B1/ of s1 has 8 bytes, here 12.
! expect: remark: size of COMMON block /B1/ differs from previous specification
common /b1/ r4, r5
common /b1/ r6
r4 = r5 + r6
end subroutine s4

module m
character*1 mch
! A module's COMMON is laid out as well.
! expect: remark: padding supplied to align "MI" in COMMON
integer mi
common /mb/ mch, mi
end module m
! status: 2
