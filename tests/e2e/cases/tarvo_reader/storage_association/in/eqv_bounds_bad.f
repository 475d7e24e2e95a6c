      PROGRAM P
      REAL A(10), B, C(0:4,2)
      EQUIVALENCE (A(11), B), (A(1), C(0,3))
      A = 1.0
      B = 2.0
      C = 3.0
      PRINT *, A, B, C
      END
