program p
  interface
    subroutine s(x)
      real x
    end subroutine s
  end interface s
  call s(1.0)
end program p
