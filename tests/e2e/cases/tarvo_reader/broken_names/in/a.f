      PROGRAM A
      AB C = 1
      PRINT *, ABC
      END
