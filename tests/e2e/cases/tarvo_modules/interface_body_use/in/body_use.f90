! Interface bodies that USE a module their host uses too: the body has
! its own copies of the names; the host keeps its own after the block.
module body_kinds
  implicit none
  integer, parameter :: wp = kind(1.0d0)
  type sample
     real(wp) :: t = 0.0_wp, v = 0.0_wp
  end type sample
end module body_kinds

module body_solver
  use body_kinds
  implicit none
contains
  subroutine advance(f, s, h)
    interface
       subroutine f(t, y, dydt)
         use body_kinds, only: wp
         real(wp), intent(in) :: t, y
         real(wp), intent(out) :: dydt
       end subroutine f
    end interface
    type(sample), intent(inout) :: s
    real(wp), intent(in) :: h
    real(wp) :: d
    call f(s%t, s%v, d)
    s%v = s%v + h * d
    s%t = s%t + h
  end subroutine advance

  subroutine record(g, s)
    interface
       subroutine g(item)
         use body_kinds, only: sample
         type(sample), intent(in) :: item
       end subroutine g
    end interface
    type(sample), intent(in) :: s
    real(wp) :: total
    call g(s)
    total = s%t + s%v
    print *, total
  end subroutine record
end module body_solver

subroutine external_user(f, y)
  use body_kinds
  implicit none
  interface
     real(wp) function f(x)
       use body_kinds, only: wp
       real(wp), intent(in) :: x
     end function f
  end interface
  real(wp), intent(inout) :: y
  type(sample) :: s
  s = sample(1.0_wp, f(y))
  y = s%v
end subroutine external_user
