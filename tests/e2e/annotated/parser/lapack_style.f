! args: -F
! status: 0
      SUBROUTINE DSCAL(N,DA,DX,INCX)
*     scales a vector by a constant.
      DOUBLE PRECISION DA
      INTEGER INCX,N
      DOUBLE PRECISION DX(*)
      INTEGER I,M,MP1,NINCX
      INTRINSIC MOD
      IF (N.LE.0 .OR. INCX.LE.0) RETURN
      IF (INCX.EQ.1) GO TO 20
      NINCX = N*INCX
      DO 10 I = 1,NINCX,INCX
          DX(I) = DA*DX(I)
   10 CONTINUE
      RETURN
   20 M = MOD(N,5)
      IF (M.EQ.0) GO TO 40
      DO 30 I = 1,M
          DX(I) = DA*DX(I)
   30 CONTINUE
      IF (N.LT.5) RETURN
   40 MP1 = M + 1
      DO 50 I = MP1,N,5
          DX(I) = DA*DX(I)
          DX(I+1) = DA*DX(I+1)
   50 CONTINUE
      RETURN
      END
      DOUBLE PRECISION FUNCTION DDOT(N,DX,INCX,DY,INCY)
      INTEGER N, INCX, INCY
      DOUBLE PRECISION DX(*),DY(*)
      DOUBLE PRECISION DTEMP
      INTEGER I
      DDOT = 0.0D0
      DTEMP = 0.0D0
      DO 10 I = 1,N
         DTEMP = DTEMP + DX(I)*DY(I)
   10 CONTINUE
      DDOT = DTEMP
      RETURN
      END
      PROGRAM T
      DOUBLE PRECISION X(10), DDOT, Y
      DO10I=1.5
      CALL DSCAL(10, 2.0D0, X, 1)
      Y = DDOT(10, X, 1, X, 1)
      PRINT *, Y, DO10I
      STOP
      END
      SUBROUTINE NEST(A, N)
      INTEGER N, I, J
      REAL A(N, N)
      DO 20 J = 1, N
         DO 10 I = 1, N
            A(I, J) = 0.0
   10    CONTINUE
   20 CONTINUE
      END
