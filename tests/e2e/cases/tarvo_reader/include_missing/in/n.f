      X = 1
$INCLUDE nothere.h
      END
