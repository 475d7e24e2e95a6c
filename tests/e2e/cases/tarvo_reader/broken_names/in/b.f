      SUBROUTINE B
      AB C = 1
      PRINT *, ABC
      DE
     1F = 2
      PRINT *, DEF
      END
