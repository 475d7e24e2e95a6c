subroutine host(n)
integer n
n = 1
contains
subroutine inner
n = 2
end subroutine inner
end subroutine host
