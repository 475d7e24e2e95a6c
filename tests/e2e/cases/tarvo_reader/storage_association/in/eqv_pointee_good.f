      PROGRAM P
      REAL X, Y, Z
      EQUIVALENCE (X, Z)
      POINTER (IP, Y)
      X = 1.0
      IP = LOC(X)
      Y = 2.0
      PRINT *, X, Y, Z, IP
      END
