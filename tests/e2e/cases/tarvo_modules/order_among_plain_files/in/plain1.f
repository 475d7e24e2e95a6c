      SUBROUTINE TWICE(X)
      REAL X
      X = 2.0 * X
      END
