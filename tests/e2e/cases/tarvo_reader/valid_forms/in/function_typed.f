      FUNCTION F(X)
      REAL F, X, E
      F = X
      RETURN
      ENTRY E(X)
      E = 2.0 * X
      RETURN
      END
