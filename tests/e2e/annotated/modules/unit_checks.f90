! status: 2
subroutine loops(n)
integer n, i, j
real x
logical l
! expect: warning: use of do-variables of type real is obsolescent
! expect: warning: use of loop-control expressions of type real is obsolescent
! expect: warning: use of loop-control expressions of type real is obsolescent
do x = 1.0, 2.0
end do
! expect: error: DO variable must be of type integer, default real, or double precision
do l = 1, 2
end do
do i = 1, n
! expect: error: variable is same as the DO variable of an enclosing DO loop
  do i = 1, 2
  end do
  do j = 1, 2
  end do
end do
do j = 1, n
end do
end subroutine loops

subroutine cases(k, l)
integer k
logical l
select case (k)
case (3:5)
! expect: error: overlap of the case-value for a given case-construct
case (1:10)
case (10:1)
end select
select case (k)
case (:7)
! expect: error: overlap of the case-value for a given case-construct
case (5)
case (8:)
end select
select case (l)
! expect: error: a colon must not be used in case-expression of type logical
case (.true.:)
end select
end subroutine cases

subroutine branches(k, x)
integer k
real x
! expect: warning: obsolescent statement
if (k) 10, 20, 30
10 continue
20 continue
30 continue
! expect: error: expression must have logical type
if (k) then
end if
! expect: error: expression must have logical type
do while (x)
end do
end subroutine branches

program main
real y
! expect: warning: use of do-variables of type real is obsolescent
do y = 1, 2
end do
end program main

subroutine stops
integer, parameter :: code = 3
character(len=*), parameter :: text = 'done'
if (code > 1) stop 12
if (code > 2) stop text
! expect: error: constant must be of type default character
if (code > 3) stop code
end subroutine stops
