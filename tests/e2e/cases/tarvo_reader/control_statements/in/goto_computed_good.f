      PROGRAM P
      INTEGER K
      K = 1
      GO TO (10, 20), K + 1
   10 CONTINUE
   20 CONTINUE
      END
