      PROGRAM P
      REAL X
      CHARACTER*4 C
      DATA X(1:2) /1.0/, C(1:2) /'AB'/
      PRINT *, X, C
      END
