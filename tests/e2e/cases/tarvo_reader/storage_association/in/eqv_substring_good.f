      PROGRAM P
      CHARACTER*4 C, D, E
      EQUIVALENCE (E(1:2), C), (D(2:4), C)
      E = 'EF'
      C = 'AB'
      D = 'CD'
      PRINT *, E, C, D
      END
