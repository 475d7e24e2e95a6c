      PROGRAM P
      CONTAINS
      ALIGN X
      READBINARY X
      PAUSE
      END
