! args: -F
! status: 0
C     A name that is only an intrinsic function, called by CALL, is an
C     external subroutine (here one defined by ENTRY); a function
C     reference to a name that is only an intrinsic subroutine is an
C     external function.
      SUBROUTINE STATS( X, N, XMEAN )
      INTEGER N, I
      REAL X( N ), XMEAN, XMIN
      XMEAN = 0.0
      DO 10 I = 1, N
         XMEAN = XMEAN + X( I ) / REAL( N )
   10 CONTINUE
      RETURN
      ENTRY RANGE( X, N, XMIN )
      XMIN = MINVAL( X )
      RETURN
      END
      PROGRAM USER
      REAL R( 3 ), A, B
      REAL MVBITS
      DATA R / 1.0, 2.0, 3.0 /
      CALL STATS( R, 3, A )
      CALL RANGE( R, 3, B )
      CALL INDEX( A )
      A = MVBITS( B ) + A
      PRINT *, A, B
      END
      SUBROUTINE INDEX( A )
      REAL A
      A = 2.0 * A
      END
      REAL FUNCTION MVBITS( B )
      REAL B
      MVBITS = B + 1.0
      END
