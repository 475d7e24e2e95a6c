      PROGRAM P
      REAL R, S, T(2)
      DOUBLE PRECISION D
      INTEGER*2 K
      DATA R, S, T /1.0, 2.0, 2*3.0/, D /1.0D0/, K /7/
      PRINT *, R, S, T, D, K
      END
