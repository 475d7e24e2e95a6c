      PROGRAM P
      REAL R, A(3)
      INTEGER K, N
      CHARACTER*10 C
      CHARACTER*6 F
      PARAMETER (F = '(F5.1)')
      WRITE (6, 100) R, A, K + 1
      WRITE (6, '(F5.1)') R
      WRITE (6, F) R
      WRITE (C, 100) R
      WRITE (N + 1, *) A(1) * 2.0
      READ (5, *) R, A(2)
      PRINT 100, (A(K), K = 1, 3)
      ENCODE (10, 100, C) R
      DECODE (10, 100, C) R
 100  FORMAT (F5.1)
      END
