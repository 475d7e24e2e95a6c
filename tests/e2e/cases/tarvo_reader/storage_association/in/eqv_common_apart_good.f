      PROGRAM P
      REAL C(2), D(2), X(4)
      COMMON /C3/ C, D
      EQUIVALENCE (X(1), C(1)), (X(3), D(1))
      C = 3.0
      D = 4.0
      X = 5.0
      PRINT *, C, D, X
      END
