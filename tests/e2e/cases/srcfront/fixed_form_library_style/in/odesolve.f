C-----------------------------------------------------------------------------------------------------------------------------------
C     ODESLV: a fixed-step Runge-Kutta driver in the style of the old libraries.  The right-hand side FCN is passed down to the
C     stepper, which passes it on once more; error texts live in a COMMON block with CHARACTER*(LENMSG) members.
C-----------------------------------------------------------------------------------------------------------------------------------
      SUBROUTINE ODESLV (FCN, NEQ, T, TOUT, Y, WORK, IFLAG)
      INTEGER LENMSG
      PARAMETER (LENMSG = 40)
      EXTERNAL FCN
      INTEGER NEQ, IFLAG, NSTEP, I, IUNIT
      DOUBLE PRECISION T, TOUT, Y(NEQ), WORK(4*NEQ), H, HALF
      CHARACTER*(LENMSG) MSG
      CHARACTER*(2*LENMSG) LONGM
      COMMON /ODECOM/ IUNIT, MSG, LONGM
      PARAMETER (HALF = 0.5D0)
      NSTEP = 10
      H = (TOUT - T) / NSTEP
      DO 10 I = 1, NSTEP
         CALL RKSTEP (FCN, NEQ, T, H, Y, WORK)
         T = T + H
   10 CONTINUE
      IFLAG = 0
      IF (ABS(T - TOUT) .GT. HALF*ABS(H)) THEN
         IFLAG = 1
         MSG = 'ODESLV: END POINT MISSED'
         LONGM = MSG // ' AFTER FIXED STEPS'
         WRITE (IUNIT, 9000) MSG, T, TOUT
      END IF
      WRITE (IUNIT, 9010) (Y(I), I = 1, NEQ)
      RETURN
 9000 FORMAT (1X, A / 1X, 'T = ', 1P D14.6 / 1X, 'TOUT = ', 1P D14.6)
 9010 FORMAT (' Y = ', 1P 4D14.6 /)
      END
C
      SUBROUTINE RKSTEP (F, N, T, H, Y, W)
      EXTERNAL F
      INTEGER N, I
      DOUBLE PRECISION T, H, Y(N), W(N,4)
      CALL F (N, T, Y, W(1,1))
      DO 20 I = 1, N
         W(I,4) = Y(I) + 0.5D0*H*W(I,1)
   20 CONTINUE
      CALL F (N, T + 0.5D0*H, W(1,4), W(1,2))
      DO 30 I = 1, N
         W(I,4) = Y(I) + H*W(I,2)
   30 CONTINUE
      CALL F (N, T + H, W(1,4), W(1,3))
      DO 40 I = 1, N
         Y(I) = Y(I) + H*(W(I,1) + 2.0D0*W(I,2) + W(I,3))/4.0D0
   40 CONTINUE
      CALL CHKNAN (F, N, Y)
      END
C
      SUBROUTINE CHKNAN (F, N, Y)
      EXTERNAL F
      INTEGER N, I
      DOUBLE PRECISION Y(N), R(2)
      INTEGER IR(4)
      EQUIVALENCE (R(1), IR(1))
      LOGICAL BAD
      DATA BAD /.FALSE./
      DO 50 I = 1, N
         IF (Y(I) .NE. Y(I)) BAD = .TRUE.
   50 CONTINUE
      R(1) = Y(1)
      R(2) = 0.0D0
      IF (BAD .OR. IR(1) .EQ. -1) CALL F (0, 0.0D0, Y, Y)
      END
C
      BLOCK DATA ODEINI
      INTEGER IUNIT
      CHARACTER*40 MSG
      CHARACTER*80 LONGM
      COMMON /ODECOM/ IUNIT, MSG, LONGM
      DATA IUNIT /6/, MSG /' '/, LONGM /' '/
      END
