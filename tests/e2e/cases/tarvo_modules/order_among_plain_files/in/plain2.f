      PROGRAM MAIN
      REAL Y
      Y = 1.5
      CALL TWICE(Y)
      CALL REPORT
      CALL PAINT
      CALL SPLIT
      PRINT *, Y
      END
