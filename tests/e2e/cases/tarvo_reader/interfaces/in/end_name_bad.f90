program p
  interface
    subroutine s(x)
      real x
    end subroutine t
  end interface
end program p
