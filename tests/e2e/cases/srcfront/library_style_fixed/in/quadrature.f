C******************************************************************************************************************************************************
C     QAGSX computes a definite integral of a user function F over (A,B) with an adaptive Gauss-Kronrod rule and extrapolation; the caller supplies the integrand as an EXTERNAL procedure, which this routine passes on unchanged.
C
C       Arguments
C       =========
C       F       (input) EXTERNAL REAL FUNCTION F(X) -- the integrand; it is never called here directly, only passed on to the rule routine QK21X.
C       A, B    (input) REAL -- the limits of integration.
C       EPSABS  (input) REAL -- the absolute accuracy requested; EPSREL the relative accuracy requested (one of them must be positive).
C       RESULT  (output) REAL -- the approximation to the integral.  ABSERR (output) REAL -- estimate of the modulus of the absolute error.
C       IER     (output) INTEGER -- 0 on normal return; 1 when the limit of subdivisions is reached; 6 for invalid input.
C******************************************************************************************************************************************************
      SUBROUTINE QAGSX(F, A, B, EPSABS, EPSREL, LIMIT, RESULT, ABSERR,
     $   IER, WORK)
      EXTERNAL F
      INTEGER LIMIT, IER
      REAL A, B, EPSABS, EPSREL, RESULT, ABSERR, WORK(*)
      INTEGER NMSG
      PARAMETER (NMSG = 24)
      CHARACTER*(NMSG) MSGTXT
      CHARACTER*(2*NMSG) LONGTX
      INTEGER NCALLS, LUNIT
      COMMON /QXMSG/ MSGTXT, LONGTX
      COMMON /QXCNT/ NCALLS, LUNIT
      SAVE /QXMSG/, /QXCNT/
      INTEGER I
      REAL RESABS, RESASC, ERRMAX
C     Check the requested accuracies before any work is done.
      IER = 6
      RESULT = 0.0E0
      ABSERR = 0.0E0
      IF (EPSABS .LE. 0.0E0 .AND. EPSREL .LT. 5.0E-15) THEN
         MSGTXT = 'QAGSX: INVALID ACCURACY'
         LONGTX = MSGTXT // ' -- NOTHING COMPUTED'
         WRITE (LUNIT, 9000) LONGTX, EPSABS, EPSREL
         RETURN
      END IF
      IER = 0
      CALL QK21X(F, A, B, RESULT, ABSERR, RESABS, RESASC)
      NCALLS = NCALLS + 21
      ERRMAX = ABSERR
      DO 10 I = 1, LIMIT
         WORK(I) = ERRMAX
10    CONTINUE
      IF (ABSERR .GT. MAX(EPSABS, EPSREL*ABS(RESULT))) IER = 1
      IF (IER .NE. 0) WRITE (LUNIT, 9010) RESULT, ABSERR, NCALLS
      RETURN
9000  FORMAT (' ', A / ' EPSABS =', 1P E12.4, '  EPSREL =', E12.4)
9010  FORMAT (' RESULT AND ERROR ESTIMATE', 1P / 2E16.7,
     $   0P / ' FUNCTION EVALUATIONS:', I8)
C     End of QAGSX
      END
C
C--------------------------------------------------------------------------------------------------------------------------------------------
C     QK21X applies the 21-point Kronrod rule to F over (A,B). F is called here: it becomes a function.
C--------------------------------------------------------------------------------------------------------------------------------------------
      SUBROUTINE QK21X(F, A, B, RESULT, ABSERR, RESABS, RESASC)
      REAL F, A, B, RESULT, ABSERR, RESABS, RESASC
      EXTERNAL F
      REAL CENTR, HLGTH, FC
      CENTR = 0.5E0*(A + B)
      HLGTH = 0.5E0*(B - A)
      FC = F(CENTR)
      RESULT = FC*HLGTH*2.0E0
      RESABS = ABS(RESULT)
      RESASC = RESABS
      ABSERR = 0.0E0
      RETURN
      END
C
C     BLOCK DATA QXDATA gives the message COMMON blocks their first values; the lengths are named constants, as in the routine.
      BLOCK DATA QXDATA
      INTEGER NMSG
      PARAMETER (NMSG = 24)
      CHARACTER*(NMSG) MSGTXT
      CHARACTER*(2*NMSG) LONGTX
      INTEGER NCALLS, LUNIT
      COMMON /QXMSG/ MSGTXT, LONGTX
      COMMON /QXCNT/ NCALLS, LUNIT
      SAVE /QXMSG/, /QXCNT/
      DATA MSGTXT /' '/, LONGTX /' '/
      DATA NCALLS, LUNIT /0, 6/
      END
C
C     DRIVER passes its own dummy procedure on twice, untouched: the classic pattern of a library front end.
      SUBROUTINE DRIVER(FUNC, N, X, Y, IER)
      EXTERNAL FUNC
      INTEGER N, IER
      REAL X(N), Y(N), WORK(100)
      INTEGER J
      DO 20 J = 1, N - 1
         CALL QAGSX(FUNC, X(J), X(J+1), 0.0E0, 1.0E-4, 100, Y(J),
     $   Y(N), IER, WORK)
20    CONTINUE
      END
