module m
  interface g
    subroutine s(x)
      real x
      module procedure t
    end subroutine s
  end interface
end module m
