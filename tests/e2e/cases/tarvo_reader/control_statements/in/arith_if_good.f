      PROGRAM P
      INTEGER K
      K = 1
      IF (K) 10, 20, 30
   10 CONTINUE
   20 CONTINUE
   30 CONTINUE
      END
