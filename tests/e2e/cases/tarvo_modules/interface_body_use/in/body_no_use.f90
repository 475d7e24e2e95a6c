! A body without USE does not see its host's names: WP there is an
! implicitly typed REAL, no kind value.
subroutine no_host_names(f, y)
  use body_kinds
  implicit none
  interface
     function f(y)
       real(wp) :: f, y
     end function f
  end interface
  real(wp), intent(inout) :: y
  y = f(y)
end subroutine no_host_names
