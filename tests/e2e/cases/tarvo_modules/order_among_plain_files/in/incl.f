      SUBROUTINE PAINT
      INCLUDE 'uses.inc'
      PRINT *, HUE
      END
