program p
  type t
    real, pointer :: c(:)
  end type t
  type(t) :: rr
  allocate (rr%c(3))
  deallocate (rr%c)
end program p
