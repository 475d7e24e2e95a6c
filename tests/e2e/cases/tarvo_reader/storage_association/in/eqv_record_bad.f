      PROGRAM P
      STRUCTURE /S/
        INTEGER I
      END STRUCTURE
      RECORD /S/ R
      INTEGER K
      EQUIVALENCE (R, K)
      K = 1
      R.I = 2
      PRINT *, R.I, K
      END
