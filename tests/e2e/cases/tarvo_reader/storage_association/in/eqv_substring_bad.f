      PROGRAM P
      REAL R
      CHARACTER*4 C, D
      EQUIVALENCE (R(1:2), C), (D(2:5), C)
      R = 1.0
      C = 'AB'
      D = 'CD'
      PRINT *, R, C, D
      END
