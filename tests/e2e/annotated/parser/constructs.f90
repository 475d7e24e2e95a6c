! status: 2
subroutine branches(x)
if (x > 0) then
  return
else
  return
end if
! expect: warning: statement is unreachable
x = 1
end subroutine branches

subroutine loops(x)
do while (.true.)
  x = x + 1
end do
! expect: warning: statement is unreachable
x = 0
end subroutine loops

subroutine left_by_exit(x)
do while (.true.)
  if (x > 3) exit
  x = x + 1
end do
x = 0
end subroutine left_by_exit

subroutine shared_label(a, n)
real a(n, n)
do 10 j = 1, n
  do 10 i = 1, n
    a(i, j) = 0
! expect: warning: use of a nonblock do-construct is obsolescent
10 continue
do 20 i = 1, n
! expect: warning: use of a nonblock do-construct is obsolescent
20 a(i, 1) = 1
do 30 i = 1, n
  if (i > 2) go to 40
! expect: error: invalid terminal statement of a DO loop
30 go to 40
40 continue
! expect: error: increment of DO is not allowed to be zero
do i = 1, n, 0
end do
end subroutine shared_label

subroutine nesting(x)
if (x > 0) then
  do i = 1, 3
    x = x + i
! expect: error: executable constructs are incorrectly nested
end if
do i = 1, 3
! expect: error: this statement is not allowed inside the current executable construct
end if
end do
end subroutine nesting

subroutine exits(x)
! expect: error: EXIT statement without DO construct
exit
! expect: error: CYCLE statement without DO construct
cycle
outer: do i = 1, 3
  x = x + 1
! expect: error: END DO construct name does not match label on the corresponding DO
end do
inner: if (x > 0) then
! expect: error: undefined construct name
! expect: error: EXIT statement without DO construct
  exit inner
end if inner
end subroutine exits

subroutine cases(i)
select case (i)
case (1)
  i = 2
case (2:5, 7)
  i = 3
case default
  i = 4
! expect: error: no more than one selector may be DEFAULT
case default
  i = 5
end select
end subroutine cases

subroutine dependents(x, y)
! expect: error: invalid dependent statement of a logical IF -- ignored
if (x > 0) if (y > 0) x = 1
! expect: error: recursive call of a non-recursive or statement function
if (x > 0) call dependents(y, x)
do i = 1, 2
! expect: error: ENTRY statement is not allowed within IF block or DO loop
  entry e2(x)
end do
end subroutine dependents

subroutine open_at_end(x)
! expect: error: block IF statement was never terminated
if (x > 0) then
! expect: error: DO statement was never terminated
  do i = 1, 2
    x = 1
end subroutine open_at_end

subroutine select_open(i)
select case (i)
case (1)
  i = 2
! expect: error: this statement is not allowed inside the current executable construct
end subroutine select_open

subroutine labels_and_blocks(x)
if (x > 0) then
50 x = 1
end if
! expect: warning: branch destination is within an IF block or DO loop
go to 50
! expect: warning: statement is unreachable
! expect: error: undefined construct name
! expect: error: EXIT statement without DO construct
exit nowhere
go to 60
! expect: warning: statement is unreachable
if (x > 1) then
! expect: warning: label is referenced from outside IF block or DO loop
60 x = 2
end if
70 continue
! expect: error: label has already been defined
do 70 i = 1, 2
x = x + 1
end subroutine labels_and_blocks
