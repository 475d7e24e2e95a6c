$SET (A = .TRUE.)
      PROGRAM P
$IF (A .AND. .NOT. B)
      X = 1
$ELSE
      X==1
$ENDIF
$IF (B)
      Y==2
$ELSE
      Z==3
$ENDIF
      END
