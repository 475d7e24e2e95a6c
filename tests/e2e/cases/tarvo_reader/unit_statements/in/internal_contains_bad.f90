program p
contains
  subroutine s
  contains
    subroutine t
    end subroutine t
  end subroutine s
end program p
