program p
  logical l
  interface assignment(=)
    subroutine s(a, b)
      logical, intent(out) :: a
      real, intent(in) :: b
    end subroutine s
  end interface
  l = 2.5
  print *, l
end program p
