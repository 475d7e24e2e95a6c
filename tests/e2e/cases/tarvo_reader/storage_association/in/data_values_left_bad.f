      PROGRAM P
      REAL X
      DATA X /2*1.0/
      PRINT *, X
      END
