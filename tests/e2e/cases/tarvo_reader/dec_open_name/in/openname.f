      PROGRAM OPNAME
      CHARACTER*64 FNAME
      INTEGER IOS, N
      FNAME = 'parts.dat'
      OPEN (UNIT=10, NAME=FNAME, TYPE='OLD', READONLY, SHARED,
     1      FORM='FORMATTED', IOSTAT=IOS, ERR=90)
      READ (10, *) N
      CLOSE (10)
      OPEN (UNIT=11, NAME='report.lis', STATUS='NEW')
      WRITE (11, *) N
      CLOSE (11)
      INQUIRE (UNIT=11, NAME=FNAME)
      STOP
   90 WRITE (6, *) IOS
      END
