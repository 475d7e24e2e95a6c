      PROGRAM P
      STRUCTURE /S/
        INTEGER I
      END STRUCTURE
      RECORD /S/ R
      INTEGER J, K
      EQUIVALENCE (J, K)
      K = 1
      R.I = 2
      PRINT *, R.I, J, K
      END
