      PROGRAM BAD
      STRUCTURE /ITEM/
        INTEGER ID
      END STRUCTURE
      RECORD /ITEM/ A(3), B
      INTEGER I, J
      READ (5, *) I.ID
      J = B.NOSUCH
      J = A.ID
      WRITE (6, *) I, J
      END
