      PROGRAM SFBAD
      F(I) = I*2
      G(I, J) = I + J
      X = F(2.5)
      Y = F(1,2)
      Z = G(1)
      W = G(1.0D0, 2)
      PRINT *, X, Y, Z, W
      END
