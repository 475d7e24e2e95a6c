      PROGRAM P
      INTEGER I
      REAL X
      DOUBLE PRECISION D
      I = 1
      X = 2.0
      D = 3.0D0
      IF (I) 10, 20, 30
   10 IF (X - 1.0) 20, 30, 30
   20 IF (D) 30, 30, 30
   30 CONTINUE
      END
