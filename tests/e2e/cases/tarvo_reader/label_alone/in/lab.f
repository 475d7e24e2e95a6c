      PROGRAM P
   10
   10 CONTINUE
      END
