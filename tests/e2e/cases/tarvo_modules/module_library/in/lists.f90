module lists
  use kinds, only: dp, version
  implicit none
  private
  public :: node, list_t, push, length, operator(.len.), total, describe
  type node
    real(dp) :: val
    type(node), pointer :: next => null()
  end type node
  type list_t
    type(node), pointer :: head => null()
    integer :: n = 0
  end type list_t
  interface operator(.len.)
    module procedure length
  end interface
  interface total
    module procedure total_list, total_array
  end interface
  real(dp), save :: scratch(100)
  common /stats/ ncalls
  integer :: ncalls
contains
  subroutine push(l, v)
    type(list_t), intent(inout) :: l
    real(dp), intent(in) :: v
    type(node), pointer :: p
    allocate(p)
    p%val = v
    p%next => l%head
    l%head => p
    l%n = l%n + 1
    ncalls = ncalls + 1
  end subroutine push
  integer function length(l)
    type(list_t), intent(in) :: l
    length = l%n
  end function length
  real(dp) function total_list(l)
    type(list_t), intent(in) :: l
    type(node), pointer :: p
    real(dp) :: acc
    acc = 0.0_dp
    p => l%head
    do while (associated(p))
      acc = acc + p%val
      p => p%next
    end do
    total_list = acc
  end function total_list
  real(dp) function total_array(a)
    real(dp), intent(in) :: a(:)
    total_array = sum(a)
  end function total_array
  subroutine describe()
    print *, 'lists ', version
  end subroutine describe
end module lists
