      PROGRAM P
      INTEGER J
      J = 1
      I = J
      X = 2.0
      PRINT *, I, X
      END
