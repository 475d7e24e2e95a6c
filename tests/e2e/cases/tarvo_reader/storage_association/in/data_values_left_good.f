      PROGRAM P
      REAL X, Y
      DATA X, Y /2*1.0/
      PRINT *, X, Y
      END
