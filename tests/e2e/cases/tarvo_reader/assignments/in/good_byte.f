      PROGRAM P
      BYTE B
      LOGICAL L
      B = .TRUE.
      B = 3
      L = B
      END
