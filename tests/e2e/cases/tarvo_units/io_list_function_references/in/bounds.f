      SUBROUTINE BOUNDS(VALS, N, M)
      INTEGER N, M, J, K
      REAL VALS(N)
      INTEGER LIMIT
      EXTERNAL LIMIT
      READ (5, *) (VALS(J), J = 1, ABS(N))
      READ (5, *) VALS(MAX(M, 1))
      WRITE (6, 150) (VALS(J), J = 1, MIN(N, 3))
      WRITE (6, 150) (VALS(J), J = MOD(M, 2) + 1, LIMIT(N))
  150 FORMAT (1X, 3F10.2)
      WRITE (6, 150) (VALS(J), J = 1, K)
      END
