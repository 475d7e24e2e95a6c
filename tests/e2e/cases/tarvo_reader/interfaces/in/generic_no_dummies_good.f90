program p
  interface get
    integer function get0()
    end function get0
    integer function get1(i)
      integer, intent(in) :: i
    end function get1
  end interface
  print *, get(), get(3)
end program p
