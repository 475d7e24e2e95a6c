      PROGRAM SFGOOD
      INTEGER K, L(3)
      CHARACTER*4 C, T
      F(I) = I*2
      G(I, J) = I + J
      T(C) = C
      K = 2
      L(1) = 1
      X = F(2)
      Y = F(K+1) + F(L(1))
      Z = G(K, 3)
      C = T('ABCD')
      PRINT *, X, Y, Z, C
      END
