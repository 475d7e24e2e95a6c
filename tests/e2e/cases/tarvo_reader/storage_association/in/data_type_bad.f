      PROGRAM P
      INTEGER I
      DATA I /'A'/
      PRINT *, I
      END
