      PROGRAM P
      REAL M(2,2)
      CHARACTER*4 C
      REAL R(2)
      DATA M(1) /1.0/, R(1)(1:2) /2.0/, C /'ABCD'/
      PRINT *, M, R, C
      END
