program p
integer :: k
outer: if (k > 0) then
else if (k < 0) then outer
else if (k < -5) then inner
else other
end if
inner: do k = 1, 2
end do
in2: do k = 1, 2
end do other
if (k > 0) then
end if named
do k = 1, 2
end do
first: if (k > 0) then
else first
end if first
if (k) 10, 10, 10
10 continue
end program p
