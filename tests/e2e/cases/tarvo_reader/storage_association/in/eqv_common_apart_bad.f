      PROGRAM P
      REAL A, B, C(2), D(2), X(4)
      COMMON /C1/ A /C2/ B /C3/ C, D
      EQUIVALENCE (A, B), (X(1), C(1)), (X(2), D(1))
      A = 1.0
      B = 2.0
      C = 3.0
      D = 4.0
      X = 5.0
      PRINT *, A, B, C, D, X
      END
