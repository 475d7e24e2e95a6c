      PROGRAM P
      REAL A(4), B(4)
      EQUIVALENCE (A, B), (B(2), A)
      A = 1.0
      B = 2.0
      PRINT *, A, B
      END
