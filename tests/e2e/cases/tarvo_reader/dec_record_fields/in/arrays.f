      PROGRAM ARRAYS
      STRUCTURE /H/
        INTEGER*2 WORDS(8)
        INTEGER N
      END STRUCTURE
      RECORD /H/ B, A(2)
      INTEGER J
      READ (5, *) B.WORDS
      WRITE (6, *) B.WORDS, A(1).WORDS
      WRITE (6, *) (B.WORDS(J), J = 1, 8)
      CALL SUB(B.WORDS, 8)
      J = B.WORDS
      END
