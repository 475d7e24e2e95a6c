program p
  logical l, m
  interface operator(+)
    logical function f(a, b)
      logical, intent(in) :: a, b
    end function f
  end interface
  l = .true.
  m = l + l
  if (l + m) print *, m
end program p
