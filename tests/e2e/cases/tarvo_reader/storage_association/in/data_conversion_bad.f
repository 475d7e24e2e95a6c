      PROGRAM P
      REAL R, S, T(2)
      DOUBLE PRECISION D
      DATA R, S, T /1, 2, 2*3/, D /1.0/
      PRINT *, R, S, T, D
      END
