! Names of a unit against its host and its neighbours: SAVE of a COMMON
! block in several units, NAMELIST groups with host variables, and the
! IMPLICIT rules and locals of contained procedures.
subroutine first_saver
  common /blk/ x
  save /blk/
  x = 1.0
end subroutine first_saver

subroutine second_saver
  common /blk/ x
  save /blk/
! expect: warning: COMMON block /BLK/ was previously specified in a SAVE statement
  save /blk/
  x = 2.0
end subroutine second_saver

subroutine report(unit)
  implicit none
  integer, intent(in) :: unit
  integer :: count
  real :: total
  count = 0
  total = 0.0
  call show
contains
  subroutine show
    namelist /summary/ count, total, unit
    write (unit, summary)
  end subroutine show
end subroutine report

subroutine settings(limit, unit)
  integer, intent(in) :: limit, unit
  integer :: steps
! expect: error: must be definable variable
  namelist /given/ limit, steps
  namelist /shown/ limit, steps
  write (unit, shown)
  read (unit, given)
end subroutine settings

module scratch
  implicit none
contains
  subroutine scale(y)
    implicit real (w)
    real, intent(inout) :: y
    w = 2.0
    y = w * y
  end subroutine scale
  subroutine tally(k)
    implicit integer (w)
    integer, intent(inout) :: k
    w = 1
    k = k + w
  end subroutine tally
  subroutine untyped
! expect: error: identifier "V" has not been explicitly typed
    v = 1
  end subroutine untyped
  ! Procedures of the module defined further on, passed and called.
  subroutine driver
    real :: r
    call apply(later, r)
    r = twice(r)
  end subroutine driver
  subroutine apply(f, r)
    external f
    real, intent(out) :: r
    call f(r)
  end subroutine apply
  subroutine later(r)
    real, intent(out) :: r
    r = 1.0
  end subroutine later
  real function twice(r)
    real, intent(in) :: r
    twice = 2.0 * r
  end function twice
end module scratch

program host
  implicit none
  call inner
contains
  subroutine inner
    implicit integer (z)
    zz = 1
    print *, zz
  end subroutine inner
end program host
! status: 2
