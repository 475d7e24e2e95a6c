      PROGRAM Q
      INTEGER K
      GOTO (10, 20), K
   10 ASSIGN 20 TO K
   20 GOTO K
      PAUSE 'X'
      STOP 123456
      END
