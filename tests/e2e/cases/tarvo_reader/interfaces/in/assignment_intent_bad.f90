module m
  interface assignment(=)
    subroutine put(a, b)
      logical, intent(in) :: a
      real, intent(in) :: b
    end subroutine put
  end interface
end module m
