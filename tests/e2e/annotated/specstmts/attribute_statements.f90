! SAVE, access statements, NAMELIST and INTENT.
subroutine s1(a)
real :: a, x, y
intent(in) :: a
save x
! expect: error: some variables were previously specified in a SAVE statement
save
! expect: error: all variables already have SAVE specification
save y
x = a
y = x
end subroutine s1

subroutine s2
common /blk/ c
save /blk/
! expect: warning: COMMON block /BLK/ was previously specified in a SAVE statement
save /blk/
! expect: warning: blank COMMON is not allowed
save //
c = 1.0
end subroutine s2

module m
public
! expect: error: access statement has been already specified
private
end module m

subroutine s3
integer :: i
! expect: error: expected a "/"
namelist grp
i = 1
end subroutine s3
subroutine s4(x, y)
real x, y
intent(in) :: x
! expect: error: entity "X" declared intent attributed repeatedly
intent(out) :: x
intent(in out) y
y = x
end subroutine s4
! status: 2
