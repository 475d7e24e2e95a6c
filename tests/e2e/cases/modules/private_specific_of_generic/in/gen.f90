module shapes
  private
  public :: area
  interface area
    module procedure area_square, area_rect
  end interface
  public :: area_rect
contains
  real function area_square(s)
    real, intent(in) :: s
    area_square = s * s
  end function area_square
  real function area_rect(a, b)
    real, intent(in) :: a, b
    area_rect = a * b
  end function area_rect
end module shapes
