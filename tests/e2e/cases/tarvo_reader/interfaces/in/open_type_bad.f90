program p
  interface
    subroutine s(x)
      real x
      type t
        integer i
    end subroutine s
  end interface
end program p
