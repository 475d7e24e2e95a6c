program measure
  use shapes
  print *, area(2.0), area(2.0, 3.0), area_rect(1.0, 2.0)
end program measure
