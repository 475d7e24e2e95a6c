      PROGRAM P
      INTEGER I
      CHARACTER C
      DATA I, C /65, 'A'/
      PRINT *, I, C
      END
