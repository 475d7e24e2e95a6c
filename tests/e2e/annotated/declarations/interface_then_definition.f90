! An interface block specifies an external procedure; the definition may
! come before or after it in the file. Two definitions of one name, or a
! definition whose dummies differ from the interface, are still reported.
program integrate
  interface
    function integrand(x)
      real, intent(in) :: x
      real :: integrand
    end function integrand
    subroutine tabulate(n)
      integer, intent(in) :: n
    end subroutine tabulate
    function mismatch(x)
      real, intent(in) :: x
      real :: mismatch
    end function mismatch
  end interface
  print *, integrand(1.0), mismatch(2.0)
  call tabulate(3)
end program integrate

subroutine tabulate(n)
  integer, intent(in) :: n
  print *, n
end subroutine tabulate

function integrand(x)
  real, intent(in) :: x
  real :: integrand
  integrand = x * x
end function integrand

! expect: error: parameters conflict with a previous specification of the procedure "MISMATCH"
function mismatch(x, y)
  real, intent(in) :: x, y
  real :: mismatch
  mismatch = x + y
end function mismatch

subroutine twice
end subroutine twice
! expect: error: inconsistent use of previously specified external name "TWICE"
subroutine twice
end subroutine twice
