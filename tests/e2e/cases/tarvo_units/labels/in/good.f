      PROGRAM GOOD
      INTEGER I
      DO 10 I = 1, 2
        PRINT 20, I
   10 CONTINUE
   20 FORMAT (I5)
      CALL ALT(*30)
      IF (I) 30, 40, 30
   30 CONTINUE
   40 CONTINUE
      END
      SUBROUTINE ALT(*)
      RETURN 1
      END
