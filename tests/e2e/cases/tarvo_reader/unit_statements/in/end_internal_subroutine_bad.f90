module m
contains
  subroutine s
  end
end module m
