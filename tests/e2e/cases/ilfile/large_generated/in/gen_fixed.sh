#!/usr/bin/env bash
# Writes a large fixed-form FORTRAN 77 source to stdout: N groups of routines
# with COMMON, EQUIVALENCE, DATA with strided implied DOs, PARAMETER,
# adjustable and assumed-size dummy arrays, statement functions, FORMAT,
# character operations, external functions and computed GO TO.
n=${1:-1000}
for ((i = 1; i <= n; i++)); do
  cat <<F77
      SUBROUTINE SA$i(A, B, N, M, X)
      INTEGER N, M, I, J, K
      REAL A(N,*), B(M), X, T, W(10)
      DOUBLE PRECISION D, E
      CHARACTER*8 NAME, TAG
      LOGICAL OK
      PARAMETER (K = $i + 3)
      COMMON /BLK$((i % 7))/ D, E, W
      EQUIVALENCE (T, W(2))
      INTEGER IT(20)
      DATA (IT(J), J = 1, 20, 2) /10*$i/
      DATA (IT(J), J = 2, 20, 2) /10*0/
      DATA NAME /'SA$i'/
      SF(T) = T * 2.0 + 1.5E0
      OK = .FALSE.
      DO 10 J = 1, M
         B(J) = A(1,J) + SF(B(J)) - FA$i(A, N, J)
         IF (B(J) .GT. 0.0 .AND. .NOT. OK) THEN
            OK = .TRUE.
            TAG = NAME(1:4) // 'XX'
         ELSE IF (B(J) .LT. -1.0E3) THEN
            B(J) = MAX(B(J), -1.0E3, X)
         ELSE
            B(J) = SQRT(ABS(B(J))) + REAL(IT(MOD(J,20)+1))
         END IF
   10 CONTINUE
      D = DBLE(X) * 2.5D0 + E
      GO TO (20, 30) MOD(K, 2) + 1
   20 WRITE (*, 100) NAME, X, K
      RETURN
   30 X = X + FLOAT(K) / 3.0
  100 FORMAT (1X, A8, F10.3, I6)
      END
      REAL FUNCTION FA$i(A, N, J)
      INTEGER N, J, L
      REAL A(N,*), S
      S = 0.0
      DO 5 L = 1, N
         S = S + A(L, J) ** 2
    5 CONTINUE
      FA$i = S
      END
F77
done
cat <<F77
      PROGRAM MAIN
      REAL A(10,10), B(10), X
      INTEGER N
      N = 10
      X = 1.0
      CALL SA1(A, B, N, N, X)
      PRINT *, X
      END
F77
