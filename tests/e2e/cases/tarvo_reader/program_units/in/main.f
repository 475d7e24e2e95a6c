      PROGRAM MAIN
      IMPLICIT NONE
      INTEGER I, J
      REAL X(10)
      COMMON /C/ X
      PARAMETER (J = 2)
      DATA I /1/
      F(Y) = Y*2
      DO 10 I = 1, 10
         X(I) = F(1.0)
   10 CONTINUE
      IF (I .GT. 5) THEN
         WRITE(*,*) X
      ELSE IF (I .LT. 0) THEN
         CALL FOO(X)
      ELSE
         GOTO 20
      END IF
      IF (I .EQ. 1) CALL FOO(X)
   20 FORMAT(1X, 5HHELLO)
      CALL SUB
      END
      SUBROUTINE SUB
      END
      REAL FUNCTION G(X)
      G = X
      END
      BLOCK DATA
      END
