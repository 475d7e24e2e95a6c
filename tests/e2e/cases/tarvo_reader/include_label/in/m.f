   10 CONTINUE
      X = 1
$INCLUDE inc.h
      END
