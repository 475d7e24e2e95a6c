      PROGRAM GOOD
      INTEGER I, J, K, L, M, N, IA(3), IC
      REAL A, B, X
      COMMON /C/ IC
      EQUIVALENCE (A, B)
      NAMELIST /NL/ N
      DATA M /3/
      CALL SUB(I)
      READ (5, *) J
      READ (5, NL)
      DO 10 K = 1, 3
        IA(K) = K
   10 CONTINUE
      B = 1.0
      X = FN(L)
      PRINT *, I, J, M, N, IA, A, X, IC
      END
      SUBROUTINE SUB(IARG)
      IARG = 1
      END
      REAL FUNCTION FN(IARG)
      IARG = 2
      FN = 1.0
      END
