      PROGRAM P
      REAL A(10), B, S
      EQUIVALENCE (A(1,1), B), (S(1), A(2))
      A = 1.0
      B = 2.0
      S = 3.0
      PRINT *, A, B, S
      END
