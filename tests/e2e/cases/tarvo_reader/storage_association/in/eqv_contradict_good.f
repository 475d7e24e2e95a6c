      PROGRAM P
      REAL A(4), B(4), C(4)
      EQUIVALENCE (A, B), (B(2), A(2)), (C(3), A(2)), (B(3), C(4))
      A = 1.0
      B = 2.0
      C = 3.0
      PRINT *, A, B, C
      END
