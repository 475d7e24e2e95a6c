      PROGRAM P
      LOGICAL L
      COMPLEX Z
      CHARACTER*4 C
      L = .TRUE.
      Z = (1.0, 2.0)
      C = 'ABCD'
      IF (L) 10, 20, 30
      IF (Z) 10, 20, 30
      IF (C) 10, 20, 30
   10 CONTINUE
   20 CONTINUE
   30 CONTINUE
      END
