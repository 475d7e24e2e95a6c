      PROGRAM P
      CHARACTER*4 C, D(2)
      DATA C(1:2) /'AB'/, C(3:4) /'CD'/, D(1) /'WXYZ'/, D(2)(2:3) /'XY'/
      PRINT *, C, D
      END
