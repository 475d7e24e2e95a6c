module v
  implicit none
  private
  type, public :: vec
    real :: x
  end type vec
  type, public :: particle
    sequence
    real :: mass
  end type particle
end module v
program p
  use v, only: vec, particle
  type(particle) :: q
  q%mass = 1.0
  print *, q%mass
end program p
