      PROGRAM P
      INTEGER LONGNA
     1ME
      LONGNAME = 1
      PRINT *, LONGNAME
      END
