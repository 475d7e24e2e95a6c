      PROGRAM A
      X = 1
      END
