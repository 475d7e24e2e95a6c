      PROGRAM OLD
      INTEGER A(4)
      CALL S(1, *10, A, A(2))
      CALL S(*20)
   10 CONTINUE
   20 CONTINUE
      END
