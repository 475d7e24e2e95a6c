module mq
  implicit none
  type t
    integer :: n
  end type t
  interface size
    module procedure tsize
  end interface
contains
  integer function tsize(a, dim)
    type(t), intent(in) :: a
    integer, intent(in) :: dim
    tsize = a%n + dim
  end function tsize
end module mq

module mu
  use mq
  implicit none
contains
  subroutine s(b)
    real, intent(in) :: b(:)
    real, dimension(size(b)) :: r
    integer :: k
    k = size(b)
    r = b
    print *, r, k, size(b) + 1
  end subroutine s
end module mu
