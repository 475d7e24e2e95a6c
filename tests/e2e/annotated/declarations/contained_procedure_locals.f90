! status: 0
! Names that only a contained procedure uses, undeclared anywhere: its own
! locals, typed by its own IMPLICIT rules, when they subscript a host
! array or bound a substring; host names, still typed by those rules, when
! they stand alone as actual arguments. Either way they are referenced, so
! no "declared and never referenced" comes for them.
subroutine smooth(v, n)
  integer, intent(in) :: n
  real, intent(inout) :: v(n)
  real :: w(n)
  call copy_in()
  call average()
  call report()
contains
  ! The DO variable subscripts the host's dummy array.
  subroutine copy_in()
    do k = 1, n
      w(k) = v(k)
    end do
  end subroutine copy_in
  ! Set once, then only a subscript on either side.
  subroutine average()
    i = 2
    v(i) = 0.5 * (w(i - 1) + w(i))
    j = n
    print *, v(j), w(j)
  end subroutine average
  ! Passed alone to another procedure.
  subroutine report()
    m = n
    call show(m)
  end subroutine report
end subroutine smooth

! The host has IMPLICIT NONE; the contained procedure types its own locals.
subroutine clear(v)
  implicit none
  real, intent(out) :: v(3)
  call zero()
contains
  subroutine zero()
    implicit integer (k)
    do k = 1, 3
      v(k) = 0.0
    end do
  end subroutine zero
end subroutine clear

! The same for the bounds of a substring of a host variable.
subroutine initial(word, first)
  implicit none
  character(len=*), intent(in) :: word
  character, intent(out) :: first
  call pick()
contains
  subroutine pick()
    implicit integer (k)
    k = 1
    first = word(k:k)
  end subroutine pick
end subroutine initial

! Passed alone, such a name is typed by the IMPLICIT rules of the contained
! procedure that passes it, not by those of the host.
subroutine scale_all()
  call inner()
contains
  subroutine inner()
    implicit real (m)
    m = 2.5
    call half(m)
  end subroutine inner
  subroutine half(x)
    real, intent(in) :: x
    print *, x / 2.0
  end subroutine half
end subroutine scale_all

subroutine tally()
  implicit none
  call count_up()
contains
  subroutine count_up()
    implicit integer (n)
    n = 3
    call show(n)
  end subroutine count_up
end subroutine tally

subroutine show(m)
  integer, intent(in) :: m
  print *, m
end subroutine show

program driver
  real :: a(3)
  a = 1.0
  call fill()
  call smooth(a, 3)
contains
  subroutine fill()
! expect: warning: variable "UNUSED" declared and never referenced
    integer :: unused
    do idx = 1, 3
      a(idx) = idx
    end do
  end subroutine fill
end program driver
