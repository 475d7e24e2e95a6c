      SUBROUTINE S(IUSED, IOUT)
      IOUT = IUSED
      END
      REAL FUNCTION F(X)
      F = X
      END
      REAL FUNCTION G(X)
      CALL SETIT(G, X)
      END
