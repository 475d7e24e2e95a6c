! The name of a module, a main program or a BLOCK DATA unit is no actual
! argument; a unit that does not use the module may have a local of its name.
module settings
  integer :: level = 1
contains
  subroutine inside
    external consumer
! expect: error: actual argument must not be name of a module unit
    call consumer(settings)
  end subroutine inside
end module settings

subroutine user
  use settings
  external consumer
! expect: error: actual argument must not be name of a module unit
  call consumer(settings)
  call consumer(level)
end subroutine user

subroutine stranger
  external consumer
  integer :: settings
  settings = 2
  call consumer(settings)
end subroutine stranger

program main_unit
  use settings, only: level
  external consumer
! expect: error: actual argument must not be name of a program unit
  call consumer(main_unit)
! expect: error: actual argument must not be name of a module unit
  call consumer(settings)
  call consumer(level)
end program main_unit
