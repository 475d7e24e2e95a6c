      PROGRAM P
      REAL A(2), X(4)
      COMMON /C/ A
      EQUIVALENCE (A(2), X(2))
      A = 1.0
      X = 2.0
      PRINT *, A, X
      END
