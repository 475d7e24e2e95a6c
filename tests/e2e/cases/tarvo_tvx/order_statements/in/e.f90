module me
  integer :: k
contains
  subroutine s
    use mb
  end subroutine s
end module me
