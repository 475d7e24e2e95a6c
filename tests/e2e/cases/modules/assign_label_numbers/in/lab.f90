subroutine t(k)
integer k
assign 20 to k
assign 10 to k
assign 30 to k
10 continue
20 continue
30 format (i3)
go to k
end subroutine t
