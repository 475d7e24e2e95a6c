      PROGRAM P
      DIMENSION A(10)
      CHARACTER*8 C, CAT
      F(X) = X * 2.0 + Y
      G(I, J) = A(I) + A(J)
      CAT(C) = C // 'X'
      Y = 1.0
      A(1) = F(3.0)
      Z = G(1, 2)
      C = CAT('ABC')
      END
