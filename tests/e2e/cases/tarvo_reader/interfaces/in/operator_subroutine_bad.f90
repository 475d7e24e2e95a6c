program p
  interface operator(+)
    subroutine s(a, b)
      logical, intent(in) :: a, b
    end subroutine s
  end interface
end program p
