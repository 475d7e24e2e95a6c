      SUBROUTINE SPLIT
      US
     &E SHAPES
      PRINT *, SIDES
      END
