      PROGRAM FIELDS
      STRUCTURE /PT/
        REAL X, Y
      END STRUCTURE
      STRUCTURE /ITEM/
        INTEGER ID
        CHARACTER*8 NAME
        RECORD /PT/ POS
      END STRUCTURE
      RECORD /ITEM/ A(3), B
      RECORD /PT/ P
      INTEGER I, J
      REAL R
      READ (5, *) B.ID, B.NAME, B.POS.X, B.POS.Y
      READ (5, *) (A(I).ID, A(I).POS.X, I = 1, 3)
      J = B.ID
      J = 1 + A(2).ID
      J = MAX(B.ID, A(3).ID, 3)
      R = SQRT(B.POS.X**2 + A(1).POS.Y**2)
      P = B.POS
      IF (B.NAME(1:3) .EQ. 'ABC' .AND. A(3).ID .GT. 0) J = 0
      CALL SUB(B.ID, B.POS, B.NAME)
      J = A(B.ID).ID
      WRITE (6, *) J, R, P.X, B.ID
      END
