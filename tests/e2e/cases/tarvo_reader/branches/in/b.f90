program p
integer :: k
real :: r
go to (10, 20) k
10 continue
20 assign 10 to k
go to k, (10, 20)
go to (10, x) k
go to +
assign 10 k
assign x to k
go to 10
end program p
