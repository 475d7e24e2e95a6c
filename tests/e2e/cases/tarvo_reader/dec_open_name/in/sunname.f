      PROGRAM SUNNAM
      INTEGER N
      OPEN (UNIT=11, NAME='report.lis', STATUS='NEW')
      N = 1
      WRITE (11, *) N
      CLOSE (11)
      END
