program g
  interface swap
    subroutine sw(a)
      integer :: a
    end subroutine sw
  end interface
  integer :: k
  call swap(k)
end program g
