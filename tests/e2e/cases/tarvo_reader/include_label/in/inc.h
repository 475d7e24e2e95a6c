      Y = 2
   10 CONTINUE
