      PROGRAM P
      REAL R
      INTEGER K
      PARAMETER (K = 5)
      LOGICAL L
      WRITE (6, K) R
      WRITE (R, 100) K
      READ (L, 100) R
 100  FORMAT (F5.1)
      END
