! The types of CASE values are checked even when the body of the SELECT
! CASE has an error; only the overlap test waits for a clean construct.
! A stat variable that is itself allocated or deallocated is an error.
subroutine cases(i, l, ch)
  integer :: i
  logical :: l
  character(len=*) :: ch
  integer :: st
  integer, allocatable :: sts(:)
  real, allocatable :: a(:)
  select case (i)
! expect: error: case-value must be of the same type as case-expression
  case (1.0)
! expect: error: invalid argument for the assignment
    i = 'x'
  case (2:3)
  case (3:4)
  end select
  select case (l)
! expect: error: a colon must not be used in case-expression of type logical
  case (.true.:)
! expect: error: invalid argument for the assignment
    l = 1.5
  end select
  select case (ch)
! expect: error: case-value must be of the same type as case-expression
  case (1)
  end select
  select case (ch)
  case ('a':'c')
! expect: error: overlap of the case-value for a given case-construct
  case ('b')
  end select
  select case (i)
  case (:0)
  case (1:5)
  case (6:)
  end select
  allocate (sts(2), a(2), stat=st)
! expect: error: stat-variable should not be allocated or deallocated
  deallocate (sts, stat=sts(1))
  deallocate (a, stat=st)
end subroutine cases
! status: 2
