      PROGRAM P
      REAL M(2,2)
      CHARACTER*4 C(2)
      DATA M(1,1), M(2,1), M(1,2), M(2,2) /4*1.0/, C(2)(1:2) /'AB'/
      DATA C(1) /'ABCD'/, C(2)(3:4) /'CD'/
      PRINT *, M, C
      END
