      PROGRAM P
$SET (A = 1)
$IF  (A .XOR. B)
$ENDIF
$ELSE
$ENDIF
$SET (C = .TRUE.) X
      END
