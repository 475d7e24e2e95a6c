module m
contains
  subroutine s(a)
    real a
    call t
  contains
    subroutine t
      a = 1.0
    end subroutine t
  end subroutine s
end module m
