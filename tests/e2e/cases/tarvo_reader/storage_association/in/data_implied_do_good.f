      PROGRAM P
      REAL A(10), M(3,3)
      INTEGER I, J
      DATA (A(I), I = 1, 10, 2) /5*0.0/, (A(I), I = 2, 10, 2) /5*1.0/
      DATA ((M(I,J), I = 1, 3), J = 1, 3) /9*1.0/
      PRINT *, A, M
      END
