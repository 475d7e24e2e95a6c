      PROGRAM P
      REAL A(3)
      DATA A /1.0, 2.0, 3.0/
      PRINT *, A
      END
