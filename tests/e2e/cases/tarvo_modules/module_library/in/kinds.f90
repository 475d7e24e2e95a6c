module kinds
  implicit none
  integer, parameter :: sp = kind(1.0), dp = kind(1.0d0)
  character(len=*), parameter :: version = 'v1.2'
end module kinds
