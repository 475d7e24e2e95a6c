      PROGRAM P
      REAL X, Y
      EQUIVALENCE (X, Y)
      POINTER (IP, Y)
      X = 1.0
      IP = LOC(X)
      Y = 2.0
      PRINT *, X, Y, IP
      END
