      PROGRAM P
   10 CONTINUE
$INCLUDE inc.h
      END
