      PROGRAM P
      WRITE (6, 10) 5
   10 FORMAT(I
     1 3)
      WRITE (6, 20) 5, 1.5
   20 FORMAT(1X, I 3, F 10 . 2)
      END
