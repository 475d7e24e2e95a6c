program p
  interface
    subroutine s(x)
      real x
    end interface
    end subroutine s
  end interface
  call s(1.0)
end program p
